#include <unistd.h>

#include <QApplication>
#include <filesystem>

#include "ui/main/program.h"

int main(int argc, char** argv) {
    // The browser engine refuses to start its sandbox for the root user and would end the
    // program; run so, it does without.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The program folder is the executable's: the games, player files and pages live beside it.
    const std::filesystem::path folder(QCoreApplication::applicationDirPath().toStdString());
    dv::ui::Program program(folder);
    return program.Run();
}
