#include "RecorderWindow.h"

#include "WavFile.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// How often the captured sound is taken in and the status brought up to
// date while recording or playing.
constexpr int kTickMs = 50;

// "1,5 s", as the language of the windows writes it (the program sets it
// as the default locale).
QString secondsText(double seconds)
{
    return QLocale().toString(seconds, 'f', 1) + QStringLiteral(" s");
}

} // namespace

RecorderWindow::RecorderWindow(QString targetPath, QWidget* parent)
    : QWidget(parent), m_path(std::move(targetPath))
{
    setWindowTitle(tr("Ringvakt - Lydopptak"));

    auto* file = new QLabel(tr("Fil: %1").arg(QDir::toNativeSeparators(m_path)));
    file->setTextFormat(Qt::PlainText);
    file->setWordWrap(true);
    m_status = new QLabel;
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setMinimumWidth(320);

    m_record = new QPushButton(tr("Ta opp"));
    m_stop = new QPushButton(tr("Stopp"));
    m_play = new QPushButton(tr("Spill av"));
    m_save = new QPushButton(tr("Lagre"));
    m_close = new QPushButton(tr("Lukk"));
    const std::pair<QPushButton*, const char*> named[] = {{m_record, "record"},
                                                          {m_stop, "stop"},
                                                          {m_play, "play"},
                                                          {m_save, "save"},
                                                          {m_close, "close"}};
    auto* buttons = new QHBoxLayout;
    // Each button has room around its text, as the dialogs' buttons have:
    // a push button's own size leaves its text none in the longer languages.
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin) +
                       style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    for (const auto& [b, name] : named) {
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 2 * margin);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(m_record, &QPushButton::clicked, this, &RecorderWindow::record);
    connect(m_stop, &QPushButton::clicked, this, &RecorderWindow::stop);
    connect(m_play, &QPushButton::clicked, this, &RecorderWindow::play);
    connect(m_save, &QPushButton::clicked, this, &RecorderWindow::save);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &RecorderWindow::tick);

    if (m_audio.error().isEmpty())
        setStatus(tr("Trykk «Ta opp» for å ta opp lyden."));
    else
        setStatus(tr("Lyden kan ikke brukes: %1").arg(m_audio.error()));
    updateButtons();
}

RecorderWindow::~RecorderWindow() = default;

QString RecorderWindow::statusText() const
{
    return m_status->text();
}

QPushButton* RecorderWindow::button(const QString& name) const
{
    return findChild<QPushButton*>(name);
}

void RecorderWindow::record()
{
    if (!m_audio.startRecording()) {
        setStatus(tr("Fant ingen mikrofon som kunne åpnes: %1").arg(m_audio.error()));
        updateButtons();
        return;
    }
    m_unsaved = false;
    m_tick.start();
    setStatus(tr("Tar opp ... %1").arg(secondsText(0)));
    updateButtons();
}

void RecorderWindow::stop()
{
    m_tick.stop();
    if (m_audio.isRecording()) {
        m_audio.stopRecording();
        m_unsaved = !m_audio.samples().isEmpty();
        setStatus(
            tr("Opptak på %1. Trykk «Lagre» for å lagre det.").arg(secondsText(m_audio.seconds())));
    } else if (m_audio.isPlaying()) {
        m_audio.stopPlayback();
        setStatus(tr("Avspillingen er stoppet."));
    }
    updateButtons();
}

void RecorderWindow::play()
{
    if (!m_audio.startPlayback()) {
        setStatus(tr("Kan ikke spille av: %1").arg(m_audio.error()));
        updateButtons();
        return;
    }
    m_tick.start();
    setStatus(tr("Spiller av ..."));
    updateButtons();
}

bool RecorderWindow::save()
{
    if (m_audio.isRecording())
        stop();
    QString error;
    if (!wavfile::save(m_path, m_audio.samples(), SdlRecorder::kSampleRate, &error)) {
        setStatus(tr("Kunne ikke lagre %1: %2").arg(QDir::toNativeSeparators(m_path), error));
        return false;
    }
    m_unsaved = false;
    setStatus(tr("Lagret (%1).").arg(secondsText(m_audio.seconds())));
    updateButtons();
    return true;
}

void RecorderWindow::tick()
{
    if (m_audio.isRecording()) {
        if (!m_audio.collect()) {
            m_tick.stop();
            m_unsaved = true;
            setStatus(tr("Opptaket stoppet ved %1 minutter. Trykk «Lagre» for å "
                         "lagre det.")
                          .arg(SdlRecorder::kMaxSeconds / 60));
            updateButtons();
            return;
        }
        setStatus(tr("Tar opp ... %1").arg(secondsText(m_audio.seconds())));
        return;
    }
    if (m_audio.isPlaying()) {
        if (!m_audio.updatePlayback()) {
            m_tick.stop();
            setStatus(m_unsaved ? tr("Ferdig. Trykk «Lagre» for å lagre opptaket.")
                                : tr("Ferdig."));
            updateButtons();
        }
        return;
    }
    m_tick.stop();
}

void RecorderWindow::updateButtons()
{
    const bool busy = m_audio.isRecording() || m_audio.isPlaying();
    const bool haveSound = !m_audio.samples().isEmpty();
    m_record->setEnabled(!busy);
    m_stop->setEnabled(busy);
    m_play->setEnabled(!busy && haveSound);
    m_save->setEnabled(!busy && m_unsaved);
}

void RecorderWindow::setStatus(const QString& text)
{
    m_status->setText(text);
}

RecorderWindow::CloseAnswer RecorderWindow::askBeforeClosing()
{
    if (m_closeQuestion)
        return m_closeQuestion();
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    tr("Opptaket er ikke lagret. Vil du lagre det?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Save);
    box.button(QMessageBox::Save)->setText(tr("Lagre"));
    box.button(QMessageBox::Discard)->setText(tr("Forkast"));
    box.button(QMessageBox::Cancel)->setText(tr("Avbryt"));
    const int answer = box.exec();
    if (answer == QMessageBox::Save)
        return CloseAnswer::Save;
    if (answer == QMessageBox::Discard)
        return CloseAnswer::Discard;
    return CloseAnswer::Cancel;
}

void RecorderWindow::closeEvent(QCloseEvent* event)
{
    // A recording still running is stopped first; it is as unsaved as any.
    if (m_audio.isRecording())
        stop();
    if (m_unsaved) {
        switch (askBeforeClosing()) {
        case CloseAnswer::Save:
            if (!save()) {
                event->ignore();
                return;
            }
            break;
        case CloseAnswer::Discard:
            break;
        case CloseAnswer::Cancel:
            event->ignore();
            return;
        }
    }
    m_tick.stop();
    m_audio.stopPlayback();
    event->accept();
}
