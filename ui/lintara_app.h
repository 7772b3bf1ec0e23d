#pragma once

#include <QApplication>

// The application: its start-up step runs the main dialog, and the program ends when the dialog
// does.
class CLintaraApp : public QApplication {
    Q_OBJECT

public:
    CLintaraApp(int& argc, char** argv);

    // Builds the main dialog, runs it modally and returns false: the program has nothing more to
    // do once the dialog has ended, however it ended.
    bool InitInstance();
};
