#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <string>

#include "SimPanelTest.h"
#include "support/WireText.h"
#include "tools/CLookUpTable.h"

// The look-up table editor opened on the panel the way the panel opens it; the
// port stays closed until the test opens it.
class LutEditorTest : public SimPanelTest {
  protected:
    LutEditorTest() : SimPanelTest(false) {}

    void SetUp() override {
        SimPanelTest::SetUp();
        editor = new CLookUpTable(&panel);
        ASSERT_TRUE(editor->CreateModeless(panel.toolContext()));
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
    }

    void TearDown() override {
        SimPanelTest::TearDown();
        delete editor;
    }

    // Client point of entry i with value v.
    static QPoint at(int i, int v) { return QPoint(50 + i, 281 - v); }

    void press(QPoint p) { QTest::mousePress(editor, Qt::LeftButton, Qt::NoModifier, p); }
    void move(QPoint p) { QTest::mouseMove(editor, p); }
    void release(QPoint p) { QTest::mouseRelease(editor, Qt::LeftButton, Qt::NoModifier, p); }

    QAbstractButton* button(int id) { return qobject_cast<QAbstractButton*>(editor->control(id)); }

    CLookUpTable* editor = nullptr;
};

using zr::test::lutWriteText;
