#include <QApplication>

#include "app/window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    loglezer::TForm1 form;
    if (form.log_missing()) return 1;
    form.show();
    return app.exec();
}
