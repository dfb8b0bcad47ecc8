#pragma once

#include "SdlRecorder.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

// The recorder's window: "Ta opp", "Stopp", "Spill av", "Lagre" and "Lukk"
// for one file. A recording is kept in memory until the user saves it;
// only "Lagre" (or "Lagre" in the question when an unsaved recording is
// closed) writes the file, and nothing else is ever written.
class RecorderWindow : public QWidget
{
    Q_OBJECT
public:
    enum class CloseAnswer
    {
        Save,
        Discard,
        Cancel
    };
    using CloseQuestion = std::function<CloseAnswer()>;

    explicit RecorderWindow(QString targetPath, QWidget* parent = nullptr);
    ~RecorderWindow() override;

    // What to ask when an unsaved recording is about to be closed; by
    // default a message box. Tests answer it themselves.
    void setCloseQuestion(CloseQuestion question) { m_closeQuestion = std::move(question); }

    QString statusText() const;
    bool hasUnsavedRecording() const { return m_unsaved; }
    const SdlRecorder& audio() const { return m_audio; }

    // The buttons by name: "record", "stop", "play", "save", "close".
    QPushButton* button(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void record();
    void stop();
    void play();
    bool save();
    void tick();
    void updateButtons();
    void setStatus(const QString& text);
    CloseAnswer askBeforeClosing();

    QString m_path;
    SdlRecorder m_audio;
    QTimer m_tick;
    bool m_unsaved = false;
    CloseQuestion m_closeQuestion;
    QLabel* m_status;
    QPushButton* m_record;
    QPushButton* m_stop;
    QPushButton* m_play;
    QPushButton* m_save;
    QPushButton* m_close;
};
