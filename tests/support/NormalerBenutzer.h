#pragma once
// The one way to run test code as a normal user, so that permissions count
// also as root: for the guard's lifetime the real and effective ids are those
// of "nobody" (no other groups), who was given the trees; the saved ids stay
// root's, to give them back. A normal user stays. Without "nobody", `aktiv`
// is false and the test skips.

#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace testhilfe {

struct NormalerBenutzer {
    bool aktiv = ::geteuid() != 0;
    bool gewechselt = false;
    std::vector<gid_t> gruppen;

    explicit NormalerBenutzer(const QStringList& bäume)
    {
        const passwd* pw = aktiv ? nullptr : ::getpwnam("nobody");
        if (!pw || pw->pw_uid == 0)
            return;
        const uid_t uid = pw->pw_uid;
        const gid_t gid = pw->pw_gid;
        const auto übergeben = [=](const QString& pfad) { ::lchown(QFile::encodeName(pfad).constData(), uid, gid); };
        for (const QString& baum : bäume) {
            übergeben(baum);
            QDirIterator it(baum, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                übergeben(it.next());
        }
        gruppen.resize(size_t(std::max(::getgroups(0, nullptr), 0)));
        gruppen.resize(size_t(std::max(::getgroups(int(gruppen.size()), gruppen.data()), 0)));
        gewechselt = true; // from here on Zurück gives everything back
        aktiv = ::setgroups(0, nullptr) == 0 && ::setresgid(gid, gid, 0) == 0 && ::setresuid(uid, uid, 0) == 0;
        if (!aktiv)
            Zurück();
    }
    ~NormalerBenutzer() { Zurück(); }
    // Root again (before the trees are cleaned up, or to look as root).
    void Zurück()
    {
        if (!gewechselt)
            return;
        ::setresuid(0, 0, 0);
        ::setresgid(0, 0, 0);
        ::setgroups(gruppen.size(), gruppen.data());
        gewechselt = false;
    }
    NormalerBenutzer(const NormalerBenutzer&) = delete;
    NormalerBenutzer& operator=(const NormalerBenutzer&) = delete;
};

} // namespace testhilfe
