#pragma once
#include <string>

class QMainWindow;

namespace pixmond {

// Draws the window once for each menu of its menu bar, with that menu open below its title, into
// "<path without .png>-<menu title in lower case, words joined by '-'>.png" (a menu that reaches past the window
// widens the picture). Returns the number of pictures not written.
int WriteMenuScreenshots(QMainWindow& window, const std::string& path);

}  // namespace pixmond
