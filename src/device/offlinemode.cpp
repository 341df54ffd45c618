#include <Pavane/offlinemode.h>

#include "device/offlinemode_p.h"

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
    qWarning("OfflineMode: cannot ask without a QApplication; offline mode stays on");
    return false;
}

} // namespace

OfflineModePrivate* OfflineModePrivate::shared = nullptr;
int OfflineModePrivate::liveCount = 0;

OfflineModePrivate::OfflineModePrivate()
{
    installOfflineCatalogue();
    connect(&masterRadio, SIGNAL(enabledChanged(bool)), this, SLOT(radioEnabledChanged(bool)));
}

OfflineModePrivate::~OfflineModePrivate()
{
    delete queryDialog;
}

OfflineModePrivate* OfflineModePrivate::acquire(OfflineMode* mode)
{
    if (!shared) {
        liveCount = 1;
        shared = new OfflineModePrivate;
    } else {
        ++liveCount;
    }
    shared->instances.append(mode);
    return shared;
}

void OfflineModePrivate::release(OfflineMode* mode)
{
    instances.removeAll(mode);
    if (--liveCount < 1) {
        shared = nullptr;
        liveCount = 0;
        delete this;
    }
}

void OfflineModePrivate::emitStatus(bool offline)
{
    // A slot may destroy OfflineModes, even the last one and with it this
    // object: each is looked up again before it is told.
    QPointer<OfflineModePrivate> alive(this);
    const QList<OfflineMode*> snapshot = instances;
    for (OfflineMode* mode : snapshot) {
        if (!alive)
            return;
        if (instances.contains(mode))
            Q_EMIT mode->status(offline);
    }
}

MMessageBox* OfflineModePrivate::newQuestion()
{
    installOfflineCatalogue();
    auto* box = new MMessageBox(qtTrId("qtn_offl_exiting"), QuestionButtons);
    box->setSystem(true);
    return box;
}

void OfflineModePrivate::radioEnabledChanged(bool enabled)
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

void OfflineModePrivate::queryDialogFinished(int result)
{
    if (result == Consent)
        masterRadio.setEnabled(true); // status(false) follows the daemon's indication
    else
        emitStatus(true);
}

OfflineMode::OfflineMode(QObject* parent)
    : QObject(parent)
    , d(OfflineModePrivate::acquire(this))
{
    d->masterRadio.enabled();
}

OfflineMode::~OfflineMode()
{
    d->release(this);
}

void OfflineMode::set(bool offline)
{
    d->masterRadio.setEnabled(!offline);
}

bool OfflineMode::currentStatus() const
{
    return d->masterRadio.enabled();
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
        const std::unique_ptr<MMessageBox> box(OfflineModePrivate::newQuestion());
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
        d->emitStatus(true);
        return;
    }
    if (!d->queryDialog) {
        d->queryDialog = OfflineModePrivate::newQuestion();
        connect(d->queryDialog, SIGNAL(finished(int)), d, SLOT(queryDialogFinished(int)));
    }
    d->queryDialog->appear(MSceneWindow::KeepWhenDone);
}

} // namespace Pavane
