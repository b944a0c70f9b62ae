// Runs the dialog tests inside a QApplication on the offscreen platform, so they need no display.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>

// The offscreen platform reports each window feature it lacks (masks, raise); keep the log readable.
static void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith("This plugin does not support")) return;
    if (type != QtDebugMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietHandler);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Wavetrap");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
