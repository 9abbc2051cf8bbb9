// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The French texts of the duel server: what it tells the players and what --help shows.
namespace volcanelle::server::texts {

QString serverStopping();
QString roomExpired();

// Answers to a browser's request that names no file of the page, or is not one.
QString pageNotFound();
QString methodNotAllowed();
QString badRequest();
QString requestTooLong();

QString description();
QString helpOption();
QString portOption();
QString addressOption();
QString connectionsOption();
QString roomsOption();
QString wrongCodesOption();
QString cannotListen(const QString& address, int port, const QString& reason);
QString badNumber(const QString& option, const QString& value);
QString badAddress(const QString& value);

} // namespace volcanelle::server::texts
