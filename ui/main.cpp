#include "lintara_app.h"

int main(int argc, char* argv[]) {
    // The program reads no arguments: the application sees only its own name.
    int applicationArgc = argc > 0 ? 1 : 0;
    CLintaraApp application(applicationArgc, argv);
    application.InitInstance();
    return 0;
}
