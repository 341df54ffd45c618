// A host in miniature: it includes the installed headers, links the installed
// library and uses it.
#include <Pavane/ConnectivityDialogRequest>
#include <Pavane/DBusDispatcher>

#include <cstdio>

int main()
{
    Pavane::ConnectivityDialogRequest request(QStringLiteral("connect"), {1},
                                              QStringLiteral(":1.1"));
    bool completed = false;
    QObject::connect(&request, &Pavane::ConnectivityDialogRequest::completed,
                     [&] { completed = true; });
    request.complete(QStringLiteral("connected"), {true});
    const bool dispatcherKnown =
        Pavane::DBusDispatcher::staticMetaObject.indexOfSignal(
            "callReply(QString,QList<QVariant>,QString)") >= 0;
    if (!completed || request.state() != Pavane::ConnectivityDialogRequest::Completed
        || !dispatcherKnown) {
        std::fprintf(stderr, "consumer: the library did not behave\n");
        return 1;
    }
    std::printf("consumer: ok\n");
    return 0;
}
