// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuitSignals.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSessionManager>
#include <QWidget>

#ifndef _WIN32
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace talmo {

namespace {

#ifndef _WIN32
int g_wakeFds[2] = {-1, -1};

// Only async-signal-safe work here: one byte to the event loop.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_wakeFds[1], &byte, 1);
}
#endif

void closeAndQuit(QWidget* window) {
    if (window)
        window->close();
    QCoreApplication::quit();
}

} // namespace

void closeOnQuitRequests(QWidget* window) {
    QPointer<QWidget> guarded(window);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session ends: what closing keeps is kept before it does.
        QObject::connect(app, &QGuiApplication::commitDataRequest, window,
                         [guarded](QSessionManager&) { closeAndQuit(guarded); });
    }
#ifndef _WIN32
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_wakeFds) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_wakeFds[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [guarded] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(g_wakeFds[0], &byte, 1);
        closeAndQuit(guarded);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(sig, &action, nullptr);
#endif
}

} // namespace talmo
