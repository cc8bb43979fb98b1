// Runs the viewer's handlers on a memory window over a curve file written into
// the test's folder.
#pragma once

#include <string>
#include <vector>

#include "MemoryViewerWindow.h"
#include "TempFolder.h"

using TOps = std::vector<TCanvasOp>;

inline TCanvasOp Op(TCanvasOpKind kind, std::vector<int> args)
{
    return {kind, std::move(args)};
}

// The clear of the plot area that starts both operations.
inline TOps ClearOps()
{
    return {Op(TCanvasOpKind::SetPenColor, {clWhite}), Op(TCanvasOpKind::SetBrushColor, {clWhite}),
            Op(TCanvasOpKind::Rectangle, {7, 7, 420, 315}), Op(TCanvasOpKind::SetPenColor, {clBlack})};
}

inline TOps AxesOps()
{
    return {Op(TCanvasOpKind::MoveTo, {10, 10}), Op(TCanvasOpKind::LineTo, {10, 310}),
            Op(TCanvasOpKind::LineTo, {410, 310})};
}

inline TCanvasOp Marker(int px, int py)
{
    return Op(TCanvasOpKind::Ellipse, {px - 3, py - 3, px + 3, py + 3});
}

inline TOps Joined(std::initializer_list<TOps> parts)
{
    TOps all;
    for (const TOps& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline int CountOps(const TOps& ops, TCanvasOpKind kind)
{
    int count = 0;
    for (const TCanvasOp& op : ops) count += op.kind == kind;
    return count;
}
