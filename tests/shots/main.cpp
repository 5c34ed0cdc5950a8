// doc_screens OUTPUT_DIR [--gtest_filter=...]: saves the documentation's
// pictures of dialogs, the puzzle list and the text viewer into OUTPUT_DIR.
// scripts/screenshots.sh runs it under its own X server, so the text is
// rendered as the game gets it.
#include "Shots.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace
{
QString g_outputDir;
}

const QString &shots::outputDir()
{
    return g_outputDir;
}

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [--gtest_filter=PATTERN]\n", argv[0]);
        return 2;
    }
    g_outputDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(g_outputDir)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
