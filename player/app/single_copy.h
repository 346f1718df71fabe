#pragma once
// What a second copy of the program does before it ends: it looks for the main window of
// the copy that runs (class "TForm1", registered by the same program file), posts it
// WM_USER when it is hidden so that it shows itself, and asks it to come to the
// foreground. Its own command line is not passed on. False when no such window answers.
#include <string_view>

inline constexpr std::string_view kMainWindowClass = "TForm1";
inline constexpr std::string_view kMainWindowCaption = "Tavrel";

bool handOverToRunningCopy(std::string_view programPath);
