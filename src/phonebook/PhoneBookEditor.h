#pragma once

#include <QDialog>
#include <QPointer>
#include <optional>
#include <string>

class PhoneBookWindow;
class QLineEdit;
class QPushButton;
struct PhoneBookServices;

// "Ringvakt - Katalog innlegg": surname, first name and number of one entry,
// and the entry's personal sound (play, record, delete). It adds a row when
// no row of the phone book list is selected as it opens, and otherwise
// changes the selected row. It works on the list of the phone book window it
// is given, which it disables while it is open.
class PhoneBookEditor : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 110;

    PhoneBookEditor(PhoneBookWindow& window, const PhoneBookServices& services);
    ~PhoneBookEditor() override;

    // Adding (not changing) an entry; tests look at it.
    bool addMode() const { return m_addMode; }

    // Runs a command by its control id: 1 (OK), 2 (Avbryt), 1033 (record),
    // 1034 (play), 1035 (delete the sound).
    void command(int id);

    // Escape and the title-bar close take the Cancel path.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A field's text as the book stores it: code page 1252, cut at a line
    // break and to the longest field the book takes.
    std::string field(const QLineEdit* edit) const;
    // The path of the sound file named by field 1036, through the one rule
    // for paths into "sound/"; nothing when the name could reach outside.
    std::optional<QString> soundFilePath() const;
    void applySoundButtonRule();
    void numberChanged();
    void play();
    void record();
    void deleteSound();
    void ok();
    void cancel();
    void showMessage(const QString& text);

    QPointer<PhoneBookWindow> m_window;
    const PhoneBookServices& m_services;
    bool m_addMode = true;
    QLineEdit* m_surname;
    QLineEdit* m_firstName;
    QLineEdit* m_number;
    QLineEdit* m_soundFile;
    QPushButton* m_play;
    QPushButton* m_record;
    QPushButton* m_deleteSound;
};
