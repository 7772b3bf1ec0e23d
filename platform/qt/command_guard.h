#pragma once

#include <functional>

class QWidget;

namespace lintara {

// Runs one command handler of a window the way the window framework runs it: an error that
// escapes the handler ends the command, is reported in the framework's error box, owned by
// `owner` and titled with the executable's name, and the window goes on. The errors caught are the
// package reader's FileError and std::bad_alloc; any other error passes through.
//
// The texts of the box:
//   refused seek      "Seek failed on an unnamed file."                  critical icon
//   failed read       "<the system's text> while reading an unnamed file." critical icon
//   exhausted memory  "Out of memory."                                   warning icon
// The reader's errors carry no file name, hence "an unnamed file".
void RunCommand(QWidget* owner, const std::function<void()>& handler);

} // namespace lintara
