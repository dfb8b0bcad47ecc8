#pragma once

#include <QWidget>
#include <functional>

class CallLog;
class CallLogModel;
class CallOutcomes;
class QMenu;
class QPushButton;
class QTreeView;

// The list of recent callers, shown inside the main window: delete one row,
// clear the list, put a caller's number into the phone book.
class CallLogWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 108;
    using AddNumberHandler = std::function<void(const QString& number)>;

    // With the outcomes, the list shows what became of each call.
    CallLogWindow(CallLog& log, QWidget* parent, const CallOutcomes* outcomes = nullptr);

    // The list and its menu, for tests to drive.
    QTreeView* list() const { return m_list; }
    QMenu* contextMenu() const { return m_menu; }

    // What "-> Katalog" does with the selected number; it returns when the
    // phone book editor has closed.
    void setAddNumberHandler(AddNumberHandler handler) { m_addNumber = std::move(handler); }

    // Runs a command of this window by its control or menu id: 1008, 1009,
    // 1068, 1069, 1070, 40015, 40016, 40032.
    void command(int id);
    // "Eksporter samtaleloggen…": the call log as CSV in a file the user
    // chooses, and a short message of where it went.
    void exportCalls();

signals:
    // "Lukk": the main window hides.
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The number of the selected row (column 3), or empty with no selection.
    QString selectedNumber(int row) const;
    bool numberInPhoneBook(const QString& number) const;
    void updateButtons();
    // No row selected (also no current row), and the buttons to match.
    void clearSelection();
    void showContextMenu(const QPoint& pos);

    CallLog& m_log;
    const CallOutcomes* m_outcomes;
    CallLogModel* m_model;
    QTreeView* m_list;
    QPushButton* m_clear;
    QPushButton* m_delete;
    QPushButton* m_add;
    QMenu* m_menu;
    AddNumberHandler m_addNumber;
};
