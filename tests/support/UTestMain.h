#pragma once
// The main function of a test program that shows windows: as QTEST_MAIN,
// but under the program's own application object, so the windows handle
// their keys as they do in the program. Tests of the data model, the
// engine and the files keep QTEST_MAIN or QTEST_GUILESS_MAIN.

#include "platform/UApplication.h"

#include <QTest>

#define KESTRIN_TEST_MAIN(TestObject)               \
    int main(int argc, char** argv)                 \
    {                                               \
        TApplication app(argc, argv);               \
        app.setAttribute(Qt::AA_Use96Dpi, true);    \
        TestObject test;                            \
        QTEST_SET_MAIN_SOURCE_PATH                  \
        return QTest::qExec(&test, argc, argv);     \
    }
