// SPDX-FileCopyrightText: 2026 Brevlinder developers
// SPDX-License-Identifier: GPL-2.0-or-later

#include "actionrunner.h"

#include "networkjoiner.h"
#include "visibletext.h"

#include <KIO/Global>
#include <KIO/JobUiDelegate>
#include <KIO/OpenUrlJob>
#include <KLocalizedString>

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QWidget>

namespace Brevlinder::ContentDisplay
{

namespace
{

// KIO's choice of a program when the desktop has none for the type; its failures are reported in the card.
class OpenUiDelegate : public KIO::JobUiDelegate
{
public:
    explicit OpenUiDelegate(QWidget *window)
        : KIO::JobUiDelegate(KJobUiDelegate::AutoHandlingDisabled, window)
    {
    }
};

// A name from the code is no safe file name: it may hold a folder separator, control characters, or nothing.
QString safeFileName(const QString &name, const QString &fallback)
{
    QString base = name.simplified();
    base.removeIf([](QChar character) {
        return character.category() == QChar::Other_Control || character.category() == QChar::Other_Format;
    });
    base.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    base = base.left(100);
    while (base.startsWith(QLatin1Char('.'))) {
        base.remove(0, 1);
    }
    return base.isEmpty() ? fallback : base;
}

QString suffixOf(const QString &mimeType)
{
    return mimeType == QLatin1String("text/calendar") ? QStringLiteral("ics") : QStringLiteral("vcf");
}

}

ActionRunner::ActionRunner(QWidget *window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
}

ActionRunner::~ActionRunner() = default;

void ActionRunner::run(const CardAction &action, const CardContents &contents)
{
    if (!action.isEnabled()) {
        return;
    }
    switch (action.kind) {
    case CardAction::Kind::Connect:
        if (contents.network) {
            connectNetwork(*contents.network);
        }
        return;
    case CardAction::Kind::Copy:
        copy(action);
        return;
    case CardAction::Kind::Save:
        save(action);
        return;
    case CardAction::Kind::OpenUrl:
        openUrl(action.url);
        return;
    case CardAction::Kind::OpenFile:
        openFile(action);
        return;
    }
}

void ActionRunner::copy(const CardAction &action)
{
    auto *mimeData = new QMimeData;
    mimeData->setText(action.text);
    if (action.secret) {
        // Clipboard managers keep no history of what is marked so.
        mimeData->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    }
    QGuiApplication::clipboard()->setMimeData(mimeData, QClipboard::Clipboard);
}

void ActionRunner::save(const CardAction &action)
{
    const QString suffix = suffixOf(action.mimeType);
    const QString suggested = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                  .filePath(safeFileName(action.fileName, i18nc("@info a file name", "code")) + QLatin1Char('.') + suffix);
    const QString filter =
        suffix == QLatin1String("ics") ? i18nc("@item:inlistbox", "iCalendar files (*.ics)") : i18nc("@item:inlistbox", "vCard files (*.vcf)");
    const QString caption = suffix == QLatin1String("ics") ? i18nc("@title:window", "Save Event") : i18nc("@title:window", "Save Contact");
    // A new code may replace the card, and this runner with it, while the dialog is open; what the user chose
    // to save is still saved, from the action's own copy.
    const QPointer<ActionRunner> alive(this);
    const QString fileName = QFileDialog::getSaveFileName(m_window, caption, suggested, filter);
    if (fileName.isEmpty()) {
        return;
    }
    // The file is replaced only once it is whole: a failed save leaves what was there.
    QSaveFile file(fileName);
    const bool saved = file.open(QIODevice::WriteOnly) && file.write(action.fileContent) == action.fileContent.size() && file.commit();
    if (!alive) {
        return;
    }
    if (!saved) {
        Q_EMIT reported(i18nc("@info", "Could not save to file %1: %2", QDir::toNativeSeparators(fileName), file.errorString()), true);
        return;
    }
    Q_EMIT reported(i18nc("@info", "Saved to %1.", QDir::toNativeSeparators(fileName)), false);
}

void ActionRunner::openUrl(const QUrl &url)
{
    // Straight to the scheme's handler: finding out first what a web address holds would fetch it.
    auto *job = new KIO::OpenUrlJob(url, QLatin1String("x-scheme-handler/") + url.scheme(), this);
    job->setUiDelegate(new OpenUiDelegate(m_window));
    connect(job, &KJob::result, this, [this](KJob *finished) {
        if (finished->error() != 0 && finished->error() != KIO::ERR_USER_CANCELED) {
            Q_EMIT reported(finished->errorString(), true);
        }
    });
    job->start();
}

void ActionRunner::openFile(const CardAction &action)
{
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("brevlinder-XXXXXX.") + suffixOf(action.mimeType)));
    // The handler reads the file after this function returns; KIO removes it once the handler has ended.
    file.setAutoRemove(false);
    if (!file.open() || file.write(action.fileContent) != action.fileContent.size() || !file.flush()) {
        Q_EMIT reported(i18nc("@info", "Could not write a temporary file: %1", file.errorString()), true);
        file.remove();
        return;
    }
    const QString fileName = file.fileName();
    file.close();
    auto *job = new KIO::OpenUrlJob(QUrl::fromLocalFile(fileName), action.mimeType, this);
    job->setDeleteTemporaryFile(true);
    job->setUiDelegate(new OpenUiDelegate(m_window));
    connect(job, &KJob::result, this, [this, fileName](KJob *finished) {
        if (finished->error() != 0) {
            // No handler started, so none is left to read it.
            QFile::remove(fileName);
            if (finished->error() != KIO::ERR_USER_CANCELED) {
                Q_EMIT reported(finished->errorString(), true);
            }
        }
    });
    job->start();
}

void ActionRunner::connectNetwork(const Content::WifiNetwork &network)
{
    if (!m_joiner) {
        m_joiner = new WifiConnect::NetworkJoiner(this);
        connect(m_joiner, &WifiConnect::NetworkJoiner::joined, this, &ActionRunner::handleJoined);
        connect(m_joiner, &WifiConnect::NetworkJoiner::failed, this, [this](const QString &message) {
            Q_EMIT reported(message, true);
        });
    }
    m_joiner->join(network);
}

void ActionRunner::handleJoined(const QString &networkName)
{
    Q_EMIT reported(i18nc("@info %1 is a network name", "“%1” is saved, and NetworkManager is joining it.", VisibleText::of(networkName)), false);
}

}
