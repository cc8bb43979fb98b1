#include <clocale>
#include <exception>
#include <iostream>

#include <QApplication>
#include <QMessageBox>

#include "Batch.h"
#include "Unit1.h"

int main(int argc, char* argv[])
{
    if (IsBatchInvocation(argc, argv)) return RunFitterBatch(argc, argv, std::cout, std::cerr);

    QApplication application(argc, argv);
    // Qt takes the process locale from the environment; numbers are always
    // read and written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    try {
        TForm1 form;
        form.show();
        application.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Quelfit", QString::fromStdString(error.what()));
    }
    return 0;
}
