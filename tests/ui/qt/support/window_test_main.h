#pragma once
// The main function of a window test program: the application the windows need, then the tests
// of one QTest class.

#include <QApplication>
#include <QTest>

namespace dv::test {

template <class Test>
int RunWindowTest(int argc, char** argv) {
    // The web views share their context with the application's, which must be set first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

}  // namespace dv::test
