#include "lintara_app.h"

#include "lintara_dlg.h"

CLintaraApp::CLintaraApp(int& argc, char** argv) : QApplication(argc, argv) {}

bool CLintaraApp::InitInstance() {
    CLintaraDlg dialog;
    dialog.exec(); // how it ended makes no difference
    return false;
}
