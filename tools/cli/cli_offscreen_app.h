#pragma once
// The Qt application that drawing on the command line needs for its text: the offscreen platform,
// which needs no display, and nothing on standard error but the tool's own messages.

#include <QGuiApplication>
#include <memory>

namespace korvath::cli {

// A new application, or none when one runs already. Qt's notice that XDG_RUNTIME_DIR is not set
// (usual for a command run from a script or over ssh) is dropped; every other Qt message passes.
std::unique_ptr<QGuiApplication> StartOffscreenApplication();

}  // namespace korvath::cli
