// The program's entry: the application object, the windows in their
// start-up order, the message loop.

#include "app/main.h"
#include "platform/UApplication.h"
#include "platform/UQtPrinter.h"
#include "platform/UQtUi.h"
#include "platform/UUi.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    TQtUi ui;
    SetUi(&ui);
    InstallQtPrinter();
    CreateForms();
    MainForm->show();
    const int result = app.exec();
    DestroyForms();
    SetUi(nullptr);
    return result;
}
