#include <clocale>
#include <exception>
#include <iostream>

#include <QApplication>
#include <QMessageBox>

#include "Export.h"
#include "PlotPainter.h"
#include "Unit1.h"

int main(int argc, char* argv[])
{
    // Any argument asks for the export without a window; it paints on images
    // only and needs no display.
    if (argc > 1) {
        TQtPlotImageWriter writer;
        return RunViewerExport(argc, argv, std::cout, std::cerr, writer);
    }

    QApplication application(argc, argv);
    // Qt takes the process locale from the environment; numbers are always
    // read and written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    try {
        TForm1 form;
        form.show();
        application.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Quelplot41", QString::fromStdString(error.what()));
    }
    return 0;
}
