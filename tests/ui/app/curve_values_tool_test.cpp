// Tools > Curve Values and the undo history: typing a value, pasting a block, undo and redo
// through the buttons and the keys, a step on the graph, a settings change.

#include <gtest/gtest.h>

#include <QAction>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QUndoStack>
#include <QUndoView>

#include "app_fixture.h"
#include "document/calibration_state.h"
#include "document/curve_edit.h"
#include "ui/tools/curve_values_model.h"
#include "ui/tools/curve_values_tool.h"
#include "ui/tools/edit_history.h"
#include "ui/tools/tools_menu.h"

namespace korvath::testing {
namespace {

class CurveValuesToolTest : public ::testing::Test {
protected:
    CurveValuesToolTest() : app(env.options) {
        EXPECT_TRUE(app.InitInstance({}));
        const QString demo = QString::fromStdString(env.home.File("demo.qvr"));
        EXPECT_TRUE(WriteDemoCalibration(demo.toStdString()));
        EXPECT_TRUE(app.OpenDocumentFile(demo));
        app.mainFrame()->resize(1000, 760);
        app.mainFrame()->show();
        tool().showAction()->trigger();
        QApplication::processEvents();
    }
    ui::CurveValuesTool& tool() { return app.mainFrame()->tools()->curveValues(); }
    ui::EditHistory& history() { return app.mainFrame()->tools()->history(); }
    CQRNDoc& doc() { return *app.document(); }
    QString Cell(int row, int column) { return tool().model()->index(row, column).data().toString(); }
    static void Key(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(to, &press);
    }
    // Types `text` into a cell as the user does: the cell's editor, then Enter.
    void Type(int row, int column, const QString& text) {
        QTableView* table = tool().table();
        const QModelIndex index = tool().model()->index(row, column);
        table->setCurrentIndex(index);
        table->edit(index);
        // An editor of an earlier cell may wait for its deferred deletion.
        QLineEdit* editor = nullptr;
        for (QLineEdit* e : table->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) editor = e;
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        Key(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
    ShellHome env;
    TestShellApp app;
};

TEST_F(CurveValuesToolTest, TypedAndPastedValuesAreStepsThatUndoAndRedoExactly) {
    ui::CurveValuesModel& model = *tool().model();
    CGraphEngine& graph = app.mainFrame()->view()->graph();
    ASSERT_GE(model.rowCount(), 2);
    EXPECT_TRUE(tool().dock()->isVisible());
    EXPECT_TRUE(tool().showAction()->isChecked());
    const int trace = model.TraceOfRow(0);
    EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QString::fromUtf8(graph.TraceAt(trace).name));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromUtf8(graph.ColumnLabel(3)));
    const TracePoints opened = doc().calibration().points;

    Type(0, 3, QStringLiteral("23"));
    ASSERT_EQ(history().stack().count(), 1);
    EXPECT_TRUE(history().stack().text(0).startsWith(QStringLiteral("Type 23 into ")));
    EXPECT_TRUE(doc().IsModified());
    // The cell shows what was stored, as the graph does.
    EXPECT_EQ(Cell(0, 3).toDouble(), graph.PointAt(trace, 3).value);
    EXPECT_NEAR(graph.PointAt(trace, 3).value, 23.0, 1.0);
    const TracePoints typed = doc().calibration().points;
    EXPECT_NE(typed, opened);

    // Text that is no number is refused, with the reason in the status bar.
    Type(0, 4, QStringLiteral("23 mph"));
    EXPECT_EQ(history().stack().count(), 1);
    EXPECT_TRUE(app.mainFrame()->statusBar()->currentMessage().contains(QStringLiteral("is not a number")))
        << app.mainFrame()->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(doc().calibration().points, typed);

    // A block pasted near the end is cut there, as one step.
    tool().table()->setCurrentIndex(model.index(0, 8));
    ASSERT_TRUE(tool().PasteText(QStringLiteral("30\t31\t32\n40\t41\t42\n")));
    ASSERT_EQ(history().stack().count(), 2);
    EXPECT_EQ(history().stack().text(1), QString::fromUtf8("Paste 2\u00d72 cells"));
    EXPECT_TRUE(app.mainFrame()->statusBar()->currentMessage().contains(QStringLiteral("left out")));
    EXPECT_NEAR(graph.PointAt(model.TraceOfRow(1), 9).value, 41.0, 1.0);
    const TracePoints pasted = doc().calibration().points;

    // Undo with the dock's button, then with Ctrl+Z on the table: back to the stored values as
    // opened, and the calibration is no longer modified.
    tool().dock()->findChild<QPushButton*>(QStringLiteral("UndoButton"))->click();
    EXPECT_EQ(doc().calibration().points, typed);
    Key(tool().table(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc().calibration().points, opened);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(Cell(0, 3).toDouble(), graph.PointAt(trace, 3).value);

    // Redo with Ctrl+Y and Ctrl+Shift+Z.
    Key(tool().table(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(doc().calibration().points, typed);
    Key(tool().table(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc().calibration().points, pasted);
    EXPECT_TRUE(doc().IsModified());

    // Opening a file again (not saving this one) clears the history.
    BoxAnswerer answers({QMessageBox::No});
    app.OpenDocumentFile(QString::fromStdString(env.home.File("demo.qvr")));
    EXPECT_EQ(history().stack().count(), 0);

    // For a look at the dock under the graph.
    app.mainFrame()->grab().save(QStringLiteral(KORVATH_BIN_DIR "/curve-values-%1.png")
                                     .arg(app.mainFrame()->devicePixelRatioF()));
}

TEST_F(CurveValuesToolTest, OperationsGraphStepsAndSettingsChangesAreNamedSteps) {
    ui::CurveValuesModel& model = *tool().model();
    const int trace = model.TraceOfRow(0);
    tool().table()->selectionModel()->select(QItemSelection(model.index(0, 2), model.index(1, 5)),
                                             QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(tool().Apply(BlockOperation::Scale, 5));
    EXPECT_EQ(history().stack().text(0), QString::fromUtf8("Scale 2\u00d74 cells by +5 %"));

    // A value key on the graph: one step named after the point.
    ui::CQRNView* view = app.mainFrame()->view();
    Key(view, Qt::Key_Right);
    Key(view, Qt::Key_Up);
    ASSERT_EQ(history().stack().count(), 2);
    EXPECT_TRUE(history().stack().text(1).startsWith(QStringLiteral("Step "))) << history().stack().text(1).toStdString();
    EXPECT_TRUE(history().stack().text(1).contains(QString::fromUtf8(view->graph().TraceAt(trace).name)));

    // A drag from press to release is one step, and the table follows it.
    view->Redraw();
    const int column = 6;
    const QPointF at(view->graph().ColumnToX(column), view->graph().ValueToY(view->graph().PointAt(trace, column).value));
    const QString cellBefore = Cell(0, column);
    QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &press);
    for (int dy = 10; dy <= 40; dy += 10) {
        const QPointF to = at - QPointF(0, dy);
        QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, at - QPointF(0, 40), view->mapToGlobal(at - QPointF(0, 40)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &release);
    ASSERT_EQ(history().stack().count(), 3);
    EXPECT_EQ(history().stack().text(2), QStringLiteral("Drag %1 at %2")
                                             .arg(QString::fromUtf8(view->graph().TraceAt(trace).name),
                                                  QString::fromUtf8(view->graph().ColumnLabel(column))));
    EXPECT_NE(Cell(0, column), cellBefore);
    EXPECT_EQ(Cell(0, column).toDouble(), view->graph().PointAt(trace, column).value);
    history().Undo();
    EXPECT_EQ(Cell(0, column), cellBefore);

    // A settings change keeps the whole calibration; undoing it puts the choice back.
    const CalibrationState before = CaptureState(doc());
    const std::string choices = doc().properties().text();
    doc().properties().SetText(choices + ":ShiftProgram:ShiftFirmness Firm; ");
    ASSERT_TRUE(history().PushSettingsStep(before));
    EXPECT_EQ(history().stack().text(2), QString::fromUtf8("ShiftFirmness: (none) \u2192 Firm"));  // the drag was undone
    history().Undo();
    EXPECT_EQ(doc().properties().text(), choices);
    history().Undo();
    history().Undo();
    EXPECT_FALSE(doc().IsModified());
    EXPECT_FALSE(history().PushSettingsStep(CaptureState(doc())));  // nothing changed: no step

    // The history window lists the steps in a standard item view, the clean state first.
    tool().ShowHistory();
    auto* list = app.mainFrame()->findChild<QUndoView*>(QStringLiteral("UndoHistoryList"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->model()->rowCount(), 4);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), QStringLiteral("As opened"));
    list->window()->grab().save(QStringLiteral(KORVATH_BIN_DIR "/undo-history.png"));  // for a look
}

}  // namespace
}  // namespace korvath::testing
