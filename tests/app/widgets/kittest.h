// Test entry for the widget kit: a QApplication with the kit's resources and style sheet.
#pragma once

#include <QApplication>
#include <QtTest>

#include "ui/widgets/kitresources.h"

#define KIT_TEST_MAIN(TestClass)                      \
    int main(int argc, char** argv) {                 \
        QApplication app(argc, argv);                 \
        initKitResources();                           \
        app.setStyleSheet(kitStyleSheet());           \
        TestClass test;                               \
        return QTest::qExec(&test, argc, argv);       \
    }
