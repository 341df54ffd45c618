// SPDX-FileCopyrightText: 2026 The Pavane developers
// SPDX-License-Identifier: BSD-3-Clause
#include "demohost.h"

#include "accessibletree.h"
#include "networkform.h"

#include <Pavane/ButtonGroupContainer>
#include <Pavane/ConnectivityDialogRequest>
#include <Pavane/ConnectivitySettings>
#include <Pavane/ConnectivityUIUtils>
#include <Pavane/ContactExporter>
#include <Pavane/DBusDispatcher>
#include <Pavane/DialogHelperWidget>
#include <Pavane/DrillDownItem>
#include <Pavane/HeaderPanel>
#include <Pavane/KeyTextEdit>
#include <Pavane/MimeTypeResolver>
#include <Pavane/OfflineMode>
#include <Pavane/PrefixTextEdit>
#include <Pavane/PropertyEditorManager>
#include <Pavane/RadioState>
#include <Pavane/SimpleCheckBoxLabel>
#include <Pavane/SimpleFrame>
#include <Pavane/SimpleInformationBanner>
#include <Pavane/SimpleNotification>
#include <Pavane/SimpleSheet>

#include <MBanner>
#include <MButton>
#include <MImageWidget>
#include <MLabel>
#include <MMessageBox>
#include <MSceneWindow>
#include <MTextEdit>
#include <MWindow>

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QFileInfo>
#include <QGraphicsLinearLayout>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTextStream>
#include <QUuid>
#include <QtContacts/QContactManager>
#include <QtContacts/QContactName>

#include <cstdio>
#include <memory>

using namespace Pavane;
QTCONTACTS_USE_NAMESPACE

namespace {

const int HeadlessPatienceMs = 10000;
const QString NetworkToAdd = QStringLiteral("Café Aurora");

// The scene window of type T that is on screen in @p window, or null.
template <typename T>
T* shownIn(MWindow* window)
{
    if (!window)
        return nullptr;
    for (MSceneWindow* scene : window->sceneWindows()) {
        auto* found = qobject_cast<T*>(scene);
        if (found && found->sceneWindowState() == MSceneWindow::Appeared)
            return found;
    }
    return nullptr;
}

// The visible button labelled @p text among @p root's descendants, or null.
MButton* buttonIn(QGraphicsItem* root, const QString& text)
{
    for (QGraphicsItem* item : root->childItems()) {
        auto* button = qobject_cast<MButton*>(item->toGraphicsObject());
        if (button && button->isVisible() && button->text() == text)
            return button;
        if (MButton* inner = buttonIn(item, text))
            return inner;
    }
    return nullptr;
}

void say(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

QString shown(const QVariant& value)
{
    if (value.type() == QVariant::String)
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    return value.toString();
}

// Asks the notification server's control interface, which stands for the
// person at the notification area.
QDBusMessage askNotificationServer(const QString& member, const QList<QVariant>& args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("com.zelkor.NotificationServer.Control"), member);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call);
}

// The id under which the server shows the notification with @p summary; 0 when it shows none.
uint serverIdOf(const QString& summary)
{
    const QDBusReply<QList<uint>> ids = askNotificationServer(QStringLiteral("Ids"));
    for (uint id : ids.value()) {
        const QDBusReply<QString> shownSummary = askNotificationServer(QStringLiteral("Get"), {id});
        if (shownSummary.value() == summary)
            return id;
    }
    return 0;
}

// Whether @p tree holds a modal alert named or described by @p text, with a
// "Yes" button inside it.
bool readsAsQuestion(const QString& tree, const QString& text)
{
    const QStringList lines = tree.split(QLatin1Char('\n'));
    const auto depth = [](const QString& line) { return line.size() - line.trimmed().size(); };
    for (int i = 0; i < lines.size(); ++i) {
        const QString& alert = lines.at(i);
        const QString states = alert.mid(alert.lastIndexOf(QLatin1Char('[')));
        if (!alert.trimmed().startsWith(QLatin1String("AlertMessage ")) || !alert.contains(text)
            || !states.contains(QLatin1String("modal")))
            continue;
        for (int j = i + 1; j < lines.size() && depth(lines.at(j)) > depth(alert); ++j) {
            if (lines.at(j).trimmed().startsWith(QLatin1String("Button \"Yes\"")))
                return true;
        }
    }
    return false;
}

} // namespace

DemoHost::DemoHost(const Options& options)
    : options(options)
    , gallery(options.outputDirectory)
    , window(new MWindow)
    , pilot(window)
{
    qDBusRegisterMetaType<QList<uint>>();
    window->setWindowTitle(QStringLiteral("libpavanedlg demo"));
    window->resize(480, 854);
    window->installEventFilter(this);
    // Like any dialog service, the host is known on the buses by a name.
    QDBusConnection::systemBus().registerService(QStringLiteral("com.zelkor.PavaneDemo"));
    QDBusConnection::sessionBus().registerService(QStringLiteral("com.zelkor.PavaneDemo"));
}

DemoHost::~DemoHost()
{
    delete window;
}

int DemoHost::run()
{
    if (!gallery.isUsable()) {
        say(QStringLiteral("cannot create the output folder %1").arg(gallery.directory()));
        return 2;
    }
    const std::function<bool(DemoHost*)> steps[] = {
        &DemoHost::showHome, &DemoHost::leaveOfflineMode, &DemoHost::connectToNetwork,
        &DemoHost::announceConnection, &DemoHost::sendContact,
    };
    for (const auto& step : steps) {
        // Every step builds on the one before: stop at the first that fails.
        if (!step(this) || closed)
            break;
    }
    writeStoreWrites();
    gallery.writeIndex(options.transcriptFile);

    if (stepsFailed == 0 && !closed) {
        say(QStringLiteral("Every step reached its outcome."));
        if (!options.headless) {
            say(QStringLiteral("The window stays open for you; close it to finish."));
            QApplication::exec();
        }
    }
    say(QStringLiteral("Gallery: %1/index.html").arg(gallery.directory()));
    return stepsFailed == 0 && !closed ? 0 : 1;
}

bool DemoHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window && event->type() == QEvent::Close)
        closed = true;
    return QObject::eventFilter(watched, event);
}

void DemoHost::begin(const QString& title)
{
    currentStep = title;
    say(QStringLiteral("== %1").arg(title));
    if (statusLine)
        statusLine->setText(title);
}

bool DemoHost::check(bool reached, const QString& failure)
{
    if (reached)
        return true;
    ++stepsFailed;
    say(QStringLiteral("   FAILED: %1").arg(failure));
    gallery.markFailed(failure);
    if (statusLine)
        statusLine->setText(QStringLiteral("%1: failed").arg(currentStep));
    return false;
}

bool DemoHost::wait(const std::function<bool()>& done)
{
    return waitUntil([&] { return closed || done(); }, options.headless ? HeadlessPatienceMs : -1) && !closed;
}

void DemoHost::picture(MWindow* shownWindow, const QString& title, const QString& caption)
{
    // Let the last layout pass and repaint happen before the grab.
    settle(150);
    gallery.capture(shownWindow, title, caption, accessibleTree({shownWindow}));
    say(QStringLiteral("   picture: %1").arg(title));
}

void DemoHost::addSection(const QString& caption, MWidget* content)
{
    auto* frame = new SimpleFrame(caption);
    frame->setContent(content);
    // A wrapper of its own gives the new section the page's dark look at
    // once, before anything on it is touched. Above the status line, the
    // last item (a stretch is not an item).
    sections->insertItem(sections->count() - 1, new DialogHelperWidget(frame));
}

SimpleCheckBoxLabel* DemoHost::radioRow(RadioState* radio, const QString& text, const QString& info)
{
    auto* button = new MButton;
    button->setCheckable(true);
    button->setChecked(radio->enabled());
    // The row follows the daemon, whoever switches the radio; a tap asks the
    // daemon to switch it.
    connect(radio, &RadioState::enabledChanged, button, &MButton::setChecked);
    connect(button, &MButton::clicked, radio, &RadioState::setEnabled);
    auto* row = new SimpleCheckBoxLabel(button, text, MButton::switchType);
    row->setInfoText(info);
    return row;
}

// Step 1: the dialog service's page, and the phone as the daemon reports it.
bool DemoHost::showHome()
{
    begin(QStringLiteral("The phone, offline"));
    window->show();

    master = new RadioState(RadioState::Master, this);
    wlan = new RadioState(RadioState::WLAN, this);
    bluetooth = new RadioState(RadioState::Bluetooth, this);

    auto* column = new MWidget;
    sections = new QGraphicsLinearLayout(Qt::Vertical, column);
    sections->setContentsMargins(0, 0, 0, 0);
    sections->setSpacing(0);
    sections->addItem(new HeaderPanel(QStringLiteral("Connectivity")));

    auto* radios = new MWidget;
    auto* radioRows = new QGraphicsLinearLayout(Qt::Vertical, radios);
    radioRows->setContentsMargins(0, 0, 0, 0);
    for (auto [radio, text, info] : {std::make_tuple(master, "Radios", "Off while the phone is in offline mode"),
                                     std::make_tuple(wlan, "WLAN", "Wireless networks"),
                                     std::make_tuple(bluetooth, "Bluetooth", "Nearby devices")}) {
        radioRows->addItem(radioRow(radio, QString::fromUtf8(text), QString::fromUtf8(info)));
    }
    statusLine = new MLabel(currentStep);
    statusLine->setStyleName(QStringLiteral("CommonFieldLabel"));
    statusLine->setWordWrap(true);
    sections->addItem(statusLine);
    sections->addStretch();
    addSection(QStringLiteral("Device"), radios);

    home = new MSceneWindow;
    home->setStyleName(QStringLiteral("Inverted"));
    auto* page = new QGraphicsLinearLayout(Qt::Vertical, home);
    page->setContentsMargins(0, 0, 0, 0);
    page->addItem(new DialogHelperWidget(column));
    home->appear(window);
    if (!check(wait([this] { return home->sceneWindowState() == MSceneWindow::Appeared; }),
               QStringLiteral("the page did not appear")))
        return false;

    // What a dialog service does before it shows itself.
    ConnectivityUIUtils::unlockScreen();
    ConnectivityUIUtils::unblankDisplay(this, SLOT(displayTurnedOn()), SLOT(displayFailed(QDBusError)));
    if (!check(wait([this] { return display != DisplayUnknown; }) && display == DisplayOn,
               QStringLiteral("the device-mode daemon did not turn the display on")))
        return false;

    // Any service can be asked through the generic dispatcher.
    devmode = new DBusDispatcher(QStringLiteral("com.zelkor.devmode"), QStringLiteral("/com/zelkor/devmode/request"),
                                 QStringLiteral("com.zelkor.devmode.request"), this);
    const QList<QVariant> word = devmode->call(QStringLiteral("get_radio_states"));
    if (!check(!word.isEmpty(), QStringLiteral("the dispatcher got no answer from the device-mode daemon")))
        return false;
    statusLine->setText(QStringLiteral("Offline mode is on: radio states 0x%1, the master radio is off.")
                            .arg(word.value(0).toUInt(), 2, 16, QLatin1Char('0')));
    picture(window, currentStep,
            QStringLiteral("The host's page. RadioState objects read the radio states word from the device-mode "
                           "daemon (get_radio_states): the master radio is off, so the phone is in offline mode. "
                           "The generic DBusDispatcher asked the same and printed the word. The screen was unlocked and the display "
                           "turned on through ConnectivityUIUtils."));
    return check(!master->enabled() && wlan->enabled(),
                 QStringLiteral("the phone did not start offline with WLAN on (start devmoded with --radio-states 0x1e)"));
}

void DemoHost::displayTurnedOn()
{
    display = DisplayOn;
}

void DemoHost::displayFailed(const QDBusError& error)
{
    say(QStringLiteral("   display: %1").arg(error.message()));
    display = DisplayError;
}

// Step 2: a connection is wanted while offline: ask, and leave offline mode.
bool DemoHost::leaveOfflineMode()
{
    begin(QStringLiteral("Leaving offline mode"));
    // The dialog service has been asked for a network; the request is
    // answered once one is stored.
    request.reset(new ConnectivityDialogRequest(QStringLiteral("connect_to_network"),
                                                {QStringLiteral("WLAN_INFRA")},
                                                QStringLiteral("com.zelkor.PavaneDemo")));
    OfflineMode offline;
    QList<bool> reported;
    connect(&offline, &OfflineMode::status, this, [&reported](bool enabled) { reported.append(enabled); });
    offline.requestExitAsync();

    MWindow* system = MWindow::systemwideWindow();
    MMessageBox* question = nullptr;
    if (!check(wait([&] { return (question = shownIn<MMessageBox>(system)); }),
               QStringLiteral("the offline-mode question did not appear")))
        return false;
    // On the phone the system window lies above the host's: the picture
    // shows the question over the dimmed page.
    settle(150);
    QImage screen = window->grab().toImage();
    {
        QPainter painter(&screen);
        painter.fillRect(screen.rect(), QColor(0, 0, 0, 110));
        const QRect box = system->mapFromScene(question->sceneBoundingRect()).boundingRect();
        QPainterPath rounded;
        rounded.addRoundedRect(box, 12, 12);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipPath(rounded);
        painter.drawImage(box.topLeft(), system->grab(box).toImage());
    }
    // A screen reader finds the question in the system window, above the page.
    const QString tree = accessibleTree({window, system});
    gallery.capture(screen, currentStep,
                    QStringLiteral("OfflineMode::requestExitAsync() saw the master radio off and put its "
                                   "system-modal question above everything: \"%1\"")
                        .arg(question->text()),
                    tree);
    say(QStringLiteral("   picture: %1").arg(currentStep));
    if (!check(readsAsQuestion(tree, question->text()),
               QStringLiteral("a screen reader finds no modal question with a \"Yes\" button")))
        return false;

    if (options.headless) {
        MButton* yes = question->button(M::YesButton);
        if (!check(yes, QStringLiteral("the question has no Yes button")))
            return false;
        Autopilot(system).tap(yes);
    }
    if (!check(wait([&] { return !reported.isEmpty(); }), QStringLiteral("no status() arrived"))
        || !check(!reported.last() && master->enabled(),
                  QStringLiteral("the question was declined: offline mode stays on")))
        return false;

    statusLine->setText(QStringLiteral("Online: status(false) arrived; radio states now 0x%1.")
                            .arg(devmode->call(QStringLiteral("get_radio_states")).value(0).toUInt(), 2, 16,
                                 QLatin1Char('0')));
    picture(window, QStringLiteral("Online again"),
            QStringLiteral("Consent given: OfflineMode switched the master radio on (req_radio_states_change, "
                           "states 0x01, mask 0x01). The daemon announced the new word (radio_states_ind); every "
                           "RadioState updated its row and OfflineMode emitted status(false)."));
    return true;
}

// Step 3: the "connect to a network" sheet, its form bound to a new access
// point record, stored on acceptance.
bool DemoHost::connectToNetwork()
{
    begin(QStringLiteral("Connect to a network"));
    QList<StoredNetwork> stored;
    const ConnectivitySettings iaps(ConnectivitySettings::IAP);
    for (const QString& id : iaps.getAllIds()) {
        const ConnectivitySettings record(ConnectivitySettings::IAP, id);
        stored.append({id, record.get(QStringLiteral("name")).toString(),
                       record.get(QStringLiteral("wlan_ssid")).toString(),
                       record.get(QStringLiteral("wlan_security")).toString()});
    }
    if (!check(!stored.isEmpty(), QStringLiteral("the settings store holds no access points")))
        return false;

    PropertyEditorManager manager(NetworkForm::blankRecord());
    auto* sheet = new SimpleSheet;
    std::unique_ptr<SimpleSheet> sheetOwner(sheet);
    sheet->setStyleName(QStringLiteral("CommonSheetInverted"));
    sheet->setTitle(QStringLiteral("Connect to a network"));
    sheet->setAcceptLabel(QStringLiteral("Connect"));
    sheet->setRejectLabel(QStringLiteral("Cancel"));
    const NetworkForm form = NetworkForm::build(&manager, stored);
    sheet->setContent(form.body);

    // Connect only with a name, an SSID and, for WPA, a complete key.
    const auto updateAccept = [&] {
        const bool wpa = manager.propertyValue(QStringLiteral("wlan_security")) == QStringLiteral("WPA_PSK");
        sheet->setAcceptEnabled(!manager.propertyValue(QStringLiteral("name")).toString().isEmpty()
                                && !manager.propertyValue(QStringLiteral("wlan_ssid")).toString().isEmpty()
                                && (!wpa || form.keyIsComplete()));
    };
    connect(&manager, &PropertyEditorManager::propertyChanged, sheet, updateAccept);
    updateAccept();

    sheet->appear(window);
    if (!check(wait([&] { return sheet->sceneWindowState() == MSceneWindow::Appeared; }),
               QStringLiteral("the sheet did not appear")))
        return false;

    if (options.headless) {
        // The keyboard flow: Return moves on to the next field.
        pilot.tap(form.name);
        pilot.type(NetworkToAdd);
        pilot.press(Qt::Key_Return);
        pilot.type(QStringLiteral("aurora-guest"));
        pilot.tap(form.security->button(QStringLiteral("WPA")));
        // The key field pastes only what its validator takes as a whole key.
        pilot.tap(form.key);
        QApplication::clipboard()->setText(QStringLiteral("short"));
        pilot.press(Qt::Key_V, Qt::ControlModifier);
        if (!check(form.key->text().isEmpty(), QStringLiteral("the key field pasted a key too short to be one")))
            return false;
        QApplication::clipboard()->setText(QStringLiteral("flat-white-42"));
        pilot.press(Qt::Key_V, Qt::ControlModifier);
        pilot.press(Qt::Key_Return);
        pilot.type(QStringLiteral("proxy.aurora.example:8080"));
        pilot.press(Qt::Key_Return);
        pilot.tap(form.hidden);
        picture(window, QStringLiteral("The form, filled in"),
                QStringLiteral("A SimpleSheet whose editors PropertyEditorManager created and bound to the properties "
                               "of a new access point: text fields with the sheet's next/done keyboard flow, the "
                               "security choice as a ButtonGroupContainer, a KeyTextEdit that refused to paste "
                               "\"short\" and took \"flat-white-42\", a PrefixTextEdit for the proxy, and switch rows."));
        pilot.swipe(form.hidden, -600);
        picture(window, QStringLiteral("Stored access points"),
                QStringLiteral("Further down the sheet: the access points of the settings store, read with "
                               "ConnectivitySettings, as DrillDownItems under a SimpleFrame's group header."));
        if (!check(sheet->isAcceptEnabled(), QStringLiteral("the form did not accept its input")))
            return false;
        MButton* connectButton = buttonIn(sheet, sheet->acceptLabel());
        if (!check(connectButton, QStringLiteral("the sheet has no Connect button")))
            return false;
        pilot.tap(connectButton);
    }
    if (!check(wait([&] { return sheet->isAccepted() || sheet->isRejected(); }), QStringLiteral("no decision"))
        || !check(sheet->isAccepted(), QStringLiteral("the sheet was cancelled")))
        return false;
    if (!options.headless)
        picture(window, QStringLiteral("The form, accepted"), QStringLiteral("The sheet as it was accepted."));

    // Store the record; a second object on it hears the store's change
    // callbacks, as any other process would.
    networkName = manager.propertyValue(QStringLiteral("name")).toString();
    recordId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    ConnectivitySettings watcher(ConnectivitySettings::IAP, recordId);
    connect(&watcher, &ConnectivitySettings::valueChanged, this, [this, &watcher](const QString& key) {
        storeWrites.append(QStringLiteral("iap %1: %2 = %3").arg(recordId, key, shown(watcher.get(key))));
    });
    ConnectivitySettings record(ConnectivitySettings::IAP, recordId);
    QMap<QString, QVariant> values = manager.properties();
    values.insert(QStringLiteral("type"), QStringLiteral("WLAN_INFRA"));
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int result = record.set(it.key(), it.value());
        if (!check(result == 0, QStringLiteral("the store refused %1 (%2)").arg(it.key()).arg(result)))
            return false;
    }
    sheet->dismiss();
    if (!check(wait([&] { return storeWrites.size() >= values.size(); }),
               QStringLiteral("the store reported %1 of %2 writes").arg(storeWrites.size()).arg(values.size())))
        return false;

    const ConnectivitySettings reread(ConnectivitySettings::IAP, recordId);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!check(reread.get(it.key()) == it.value(),
                   QStringLiteral("the store gives back %1 for %2").arg(shown(reread.get(it.key())), it.key())))
            return false;
    }
    say(QStringLiteral("   stored access point %1 (%2)").arg(recordId, networkName));

    bool answered = false;
    connect(request.get(), &ConnectivityDialogRequest::completed, this, [&answered] { answered = true; });
    request->complete(QStringLiteral("network_stored"), {recordId});
    return check(answered && request->state() == ConnectivityDialogRequest::Completed
                     && request->returnArguments() == QList<QVariant>{recordId},
                 QStringLiteral("the connect request was not completed"));
}

// Step 4: a banner, and a notification that the user taps in the server.
bool DemoHost::announceConnection()
{
    begin(QStringLiteral("Connected"));
    statusLine->setText(QStringLiteral("Connected to %1.").arg(networkName));
    SimpleInformationBanner::show(QStringLiteral("Connected to %1").arg(networkName),
                                  QStringLiteral("icon-m-common-wlan-inverse"));
    if (!check(wait([this] { return shownIn<MBanner>(window) != nullptr; }),
               QStringLiteral("the banner did not appear")))
        return false;
    picture(window, QStringLiteral("A banner"),
            QStringLiteral("SimpleInformationBanner::show(): a transient banner with an icon, above the page."));
    wait([this] { return shownIn<MBanner>(window) == nullptr; });

    const QString summary = QStringLiteral("Connected to %1").arg(networkName);
    auto* note = new SimpleNotification(QStringLiteral("x-pavane.network"), summary,
                                        QStringLiteral("Tap to see the connection"),
                                        QStringLiteral("icon-m-common-wlan"), this);
    int taps = 0;
    connect(note, &SimpleNotification::activated, this, [&taps] { ++taps; });
    uint serverId = 0;
    if (!check(note->isValid() && wait([&] { return (serverId = serverIdOf(summary)) != 0; }),
               QStringLiteral("the notification server does not show the notification")))
        return false;

    // The server has no screen of its own here: the page shows what it holds,
    // and a tap on that row is a tap on the notification, made in the server.
    auto* row = new DrillDownItem;
    row->setTitle(networkName);
    row->setSubtitle(QStringLiteral("Connected · notification %1, tap it").arg(serverId));
    row->setImageWidget(new MImageWidget(QStringLiteral("icon-m-common-wlan-inverse")));
    connect(row, &MListItem::clicked, this, [serverId] {
        askNotificationServer(QStringLiteral("Invoke"), {serverId, QStringLiteral("default")});
    });
    addSection(QStringLiteral("Notifications"), row);
    if (options.headless) {
        settle(100);
        pilot.tap(row);
    }
    if (!check(wait([&] { return taps > 0; }), QStringLiteral("the tap did not come back as activated()")))
        return false;
    row->setSubtitle(QStringLiteral("Tapped: activated() arrived"));
    picture(window, QStringLiteral("A notification, tapped"),
            QStringLiteral("A SimpleNotification published through the notification server; the tap, made in the "
                           "server, came back over the session bus to the notification's own callback object "
                           "(activate) and arrived as activated()."));
    note->remove();
    return true;
}

// Step 5: a contact from the address book, ready to be sent as a file.
bool DemoHost::sendContact()
{
    begin(QStringLiteral("Sending a contact"));
    QContactManager contacts(QStringLiteral("tracker"));
    const QList<QContactId> ids = contacts.contactIds();
    if (!check(!ids.isEmpty(), QStringLiteral("the contact store is empty or its backend is missing")))
        return false;
    const QContact contact = contacts.contact(ids.first());
    const QContactName name = contact.detail<QContactName>();
    const QString iri = ContactExporter::ContactIriPrefix + QString::fromLatin1(ids.first().localId());

    std::unique_ptr<QTemporaryFile> card(ContactExporter::createContactCardFile(iri));
    if (!check(card != nullptr, QStringLiteral("no vCard was written for %1").arg(iri)))
        return false;
    const QFileInfo file(card->fileName());
    QString firstName, lastName;
    if (!check(ContactExporter::isContactType(file)
                   && ContactExporter::resolveContactInfo(file, firstName, lastName)
                   && firstName == name.firstName() && lastName == name.lastName(),
               QStringLiteral("the vCard does not give back the contact's name")))
        return false;
    const QString mimeType = MimeTypeResolver::mimeTypeForFilePath(file.filePath());
    const QString icon = MimeTypeResolver::iconForFileAndMimeType(file.filePath(), mimeType);
    if (!check(mimeType.startsWith(QLatin1String("text/")) && !icon.isEmpty(),
               QStringLiteral("the vCard's MIME type is \"%1\", its icon \"%2\"").arg(mimeType, icon)))
        return false;
    QImage avatar;
    ContactExporter::resolveContactAvatar(iri, avatar);

    auto* rows = new MWidget;
    auto* rowLayout = new QGraphicsLinearLayout(Qt::Vertical, rows);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto* person = new DrillDownItem;
    person->setTitle(QStringLiteral("%1 %2").arg(firstName, lastName));
    person->setSubtitle(iri);
    auto* face = new MImageWidget(QStringLiteral("icon-m-common-avatar-inverse"));
    if (!avatar.isNull())
        face->setImage(avatar);
    person->setImageWidget(face);
    rowLayout->addItem(person);
    auto* attachment = new DrillDownItem;
    attachment->setTitle(file.fileName());
    attachment->setSubtitle(QStringLiteral("%1 · %2 bytes").arg(mimeType).arg(file.size()));
    attachment->setImageWidget(new MImageWidget(icon));
    rowLayout->addItem(attachment);
    addSection(QStringLiteral("Send a file"), rows);
    statusLine->setText(QStringLiteral("Ready to send %1.").arg(file.fileName()));
    picture(window, currentStep,
            QStringLiteral("ContactExporter wrote %1 %2 from the \"tracker\" contact store as a vCard 3.0 (%3); "
                           "MimeTypeResolver named its type %4 and its icon %5.")
                .arg(firstName, lastName, file.fileName(), mimeType, icon));
    say(QStringLiteral("   %1: %2, icon %3").arg(file.fileName(), mimeType, icon));
    return true;
}

void DemoHost::writeStoreWrites() const
{
    QSaveFile file(gallery.directory() + QStringLiteral("/store-writes.txt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    out.setCodec("UTF-8");
    for (const QString& line : storeWrites)
        out << line << '\n';
    out.flush();
    file.commit();
}
