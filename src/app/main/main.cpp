// Marrowfin, the editor: starts on the files named on the command line.

#include <QApplication>

#include "app/CvxApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStringList files = QApplication::arguments();
    files.removeFirst();
    CvxApp app;
    if (!app.InitInstance(files)) return 1;
    return QApplication::exec();
}
