// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: LGPL-2.1-or-later
#include <Pavane/offlinemode.h>

#include "device/offlinemode_p.h"
#include "logging/pavanelogging_p.h"

#include <MLocale>
#include <MMessageBox>

#include <QApplication>
#include <QPointer>

#include <memory>

namespace Pavane {

namespace {

// Yes and No, as the question offers them.
constexpr M::StandardButtons QuestionButtons(M::YesButton | M::NoButton);
// The toolkit's answer for consent.
constexpr int Consent = MDialog::AffirmativeResult;

const QString OfflineCatalogue = QStringLiteral("offline");

// The question's text comes from the catalogue "offline", added to whatever
// locale is the default: the host's language and catalogues stay. Done again
// before each question, in case the host has since set another default.
void installOfflineCatalogue()
{
    MLocale locale = MLocale::defaultLocale();
    if (locale.catalogues().contains(OfflineCatalogue))
        return;
    locale.installTrCatalog(OfflineCatalogue);
    MLocale::setDefault(locale);
}

// The question needs widgets, and widgets a QApplication; a host without one
// must not be killed by asking.
bool canAsk()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return true;
    qCWarning(lcDevice, "OfflineMode: cannot ask without a QApplication; offline mode stays on");
    return false;
}

} // namespace

OfflineModeShared* OfflineModeShared::instance = nullptr;
int OfflineModeShared::liveCount = 0;

OfflineModeShared::OfflineModeShared()
{
    installOfflineCatalogue();
    connect(&masterRadio, &RadioState::enabledChanged, this, &OfflineModeShared::radioEnabledChanged);
}

OfflineModeShared::~OfflineModeShared()
{
    delete queryDialog;
}

OfflineModeShared* OfflineModeShared::enrol(OfflineMode* mode)
{
    if (!instance) {
        liveCount = 1;
        instance = new OfflineModeShared;
    } else {
        ++liveCount;
    }
    instance->instances.append(mode);
    return instance;
}

void OfflineModeShared::withdraw(OfflineMode* mode)
{
    instances.removeAll(mode);
    if (--liveCount < 1) {
        instance = nullptr;
        liveCount = 0;
        delete this;
    }
}

void OfflineModeShared::emitStatus(bool offline)
{
    // A slot may destroy OfflineModes, even the last one and with it this
    // object: each is looked up again before it is told.
    const QPointer<OfflineModeShared> alive(this);
    const QList<OfflineMode*> snapshot = instances;
    for (OfflineMode* mode : snapshot) {
        if (!alive)
            return;
        if (instances.contains(mode))
            Q_EMIT mode->status(offline);
    }
}

MMessageBox* OfflineModeShared::newQuestion()
{
    installOfflineCatalogue();
    const QString text = qtTrId("qtn_offl_exiting");
    auto* box = new MMessageBox(text, QuestionButtons);
    box->setSystem(true);
    // It has no title to be announced by: the question itself names it.
    box->setAccessibleName(text);
    return box;
}

MMessageBox* OfflineModeShared::question()
{
    if (!queryDialog) {
        queryDialog = newQuestion();
        connect(queryDialog, &MDialog::finished, this, &OfflineModeShared::queryDialogFinished);
    }
    return queryDialog;
}

void OfflineModeShared::radioEnabledChanged(bool enabled)
{
    if (queryDialog) {
        const MSceneWindow::SceneWindowState state = queryDialog->sceneWindowState();
        if (state == MSceneWindow::Appearing || state == MSceneWindow::Appeared) {
            // While the question is on screen, only the radio coming on
            // (by other means) answers it.
            if (!enabled)
                return;
            queryDialog->dismiss();
        }
    }
    emitStatus(!enabled);
}

void OfflineModeShared::queryDialogFinished(int result)
{
    if (result == Consent)
        masterRadio.setEnabled(true); // status(false) follows the daemon's indication
    else
        emitStatus(true);
}

OfflineMode::OfflineMode(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<OfflineModePrivate>(OfflineModeShared::enrol(this)))
{
    d->shared->masterRadio.enabled();
}

OfflineMode::~OfflineMode()
{
    d->shared->withdraw(this);
}

void OfflineMode::set(bool offline)
{
    d->shared->masterRadio.setEnabled(!offline);
}

bool OfflineMode::currentStatus() const
{
    return d->shared->masterRadio.enabled();
}

bool OfflineMode::requestExit()
{
    if (currentStatus())
        return true;
    if (!canAsk())
        return false;

    QPointer<OfflineMode> self(this);
    int result = 0;
    {
        const std::unique_ptr<MMessageBox> box(OfflineModeShared::newQuestion());
        box->exec();
        result = box->result();
    }
    if (result != Consent)
        return false;
    if (!self) {
        // Destroyed while the user was deciding: the consent still counts.
        RadioState(RadioState::Master).setEnabled(true);
        return true;
    }
    set(false);
    return true;
}

void OfflineMode::requestExitAsync()
{
    if (currentStatus())
        return;
    if (!canAsk()) {
        d->shared->emitStatus(true);
        return;
    }
    d->shared->question()->appear(MSceneWindow::KeepWhenDone);
}

} // namespace Pavane
