// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "server/epolldispatcher.h"

#include <QCoreApplication>
#include <QTest>

// The server's tests run on the event loop the server runs on.
#define VOLCANELLE_SERVER_TEST_MAIN(TestObject)                                                    \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        QCoreApplication::setEventDispatcher(new volcanelle::server::EpollDispatcher);             \
        QCoreApplication app(argc, argv);                                                          \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
