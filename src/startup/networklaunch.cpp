// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup/networklaunch.h"

#include "netplay/networktexts.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace volcanelle {

namespace {

const char* const kProgram = "volcanelle-network";

// The directory of the running program, from the kernel rather than argv[0], which a
// launcher may set to anything.
std::string ownDirectory()
{
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return {};
    path.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string{} : path.substr(0, slash);
}

QString reason(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("fichier introuvable");
    case EACCES:
        return QStringLiteral("exécution refusée");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace

int startNetworkPlay(char* argv[])
{
    const std::string directory = ownDirectory();
    // Beside this program in the build tree; installed, VOLCANELLE_NETWORK_DIR is the
    // program's directory as seen from the games directory.
    const std::string candidates[] = {directory + '/' + kProgram,
                                      directory + '/' + VOLCANELLE_NETWORK_DIR + '/' + kProgram};
    std::string tried = candidates[1];
    int error = ENOENT;
    for (const std::string& path : candidates) {
        if (directory.empty() || access(path.c_str(), F_OK) != 0)
            continue;
        execv(path.c_str(), argv);
        tried = path; // execv returns only when it failed
        error = errno;
        break;
    }
    const QString message =
        texts::networkProgramMissing(QString::fromLocal8Bit(tried.c_str()), reason(error));
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 1;
}

} // namespace volcanelle
