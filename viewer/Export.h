// Graph or Distribution Check without a window, for scripts and documents:
//   quelplot --graph FILE [--mag TEXT] [--png OUT.png] [--svg OUT.svg] [--json]
//   quelplot --distribution FILE [--position 1|2] [--png OUT.png] [--svg OUT.svg] [--json]
// The other boxes and options keep their texts and states at program start.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "RecordingCanvas.h"

// Draws the plot area with recorded canvas operations exactly as the window
// shows them. The Qt front end supplies it.
class TPlotImageWriter {
public:
    virtual ~TPlotImageWriter() = default;
    // False when the file cannot be written.
    virtual bool WritePng(const std::vector<TCanvasOp>& ops, const std::string& path) = 0;
    virtual bool WriteSvg(const std::vector<TCanvasOp>& ops, const std::string& path) = 0;
};

// Runs the operation as asked. Plain output: the lines the operation appended
// to Memo1 on `out`, message-box texts on `err`. With --json, one object on
// `out`: {"report": [...], "button_caption": ..., "message_box": null or text,
// "ops": [["SetPenColor", 16777215], ["Rectangle", 7, 7, 420, 315], ...]}.
// Returns 0 when the operation reached its end, 1 when a message stopped it
// (or an image could not be written), 2 on a usage error.
int RunViewerExport(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                    TPlotImageWriter& writer);
