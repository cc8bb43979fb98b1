#include "ViewerHandlers.h"

#include <exception>

#include "PlotSteps.h"

namespace {

// The handler boundary: an error that ends an operation is shown in an error
// message box, and the program goes on.
bool RunOperation(TViewerWindow& window, bool (*operation)(TViewerWindow&))
{
    try {
        return operation(window);
    } catch (const EConvertError& error) {
        window.ShowConversionError(error.Text(), error.Kind());
    } catch (const std::exception& error) {
        window.ShowErrorMessage(error.what());
    }
    return false;
}

}  // namespace

bool Button1Click(TViewerWindow& window)
{
    return RunOperation(window, DrawGraph);
}

void Button2Click(TViewerWindow& window)
{
    if (const std::optional<std::string> path = window.ChooseFileName()) {
        window.WriteBoxText(TViewerControl::Edit3, *path);
    }
}

bool Button4Click(TViewerWindow& window)
{
    return RunOperation(window, CheckDistribution);
}
