// Test entry point for tests that need Qt's event loop: one application for the whole run, a
// QApplication on Qt's offscreen platform (unless the environment says otherwise) for widget
// tests, a QCoreApplication for the others.
#include <gtest/gtest.h>

#ifdef ORBIDA_TEST_CORE
#include <QCoreApplication>
using Application = QCoreApplication;
#else
#include <QApplication>
using Application = QApplication;
#endif

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
