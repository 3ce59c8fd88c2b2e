#pragma once
#include <QDialog>
#include <string>

namespace pixmond {

// The About box: the program's version and the day it was built.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    static std::string Line();
    // The compiler's date ("Apr 16 2017") as "16 Apr 2017".
    static std::string BuildDate(const char* compilerDate = __DATE__);
};

}  // namespace pixmond
