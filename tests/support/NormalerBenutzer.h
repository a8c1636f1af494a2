#pragma once
// File access as a normal user, so that permissions count also where the
// tests run as root: for the guard's lifetime the thread's file system ids
// become those of "nobody" (setfsuid/setfsgid, which also drops root's
// file capabilities), after the given trees were handed to that user. As a
// normal user nothing changes. `aktiv` is false where no such user exists;
// the tests then skip.

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <pwd.h>
#include <sys/fsuid.h>
#include <unistd.h>

namespace testhilfe {

struct NormalerBenutzer {
    bool aktiv = false;
    bool gewechselt = false;

    explicit NormalerBenutzer(const QStringList& bäume)
    {
        if (::geteuid() != 0) {
            aktiv = true;
            return;
        }
        const passwd* pw = ::getpwnam("nobody");
        if (!pw || pw->pw_uid == 0)
            return;
        const uid_t uid = pw->pw_uid;
        const gid_t gid = pw->pw_gid;
        for (const QString& baum : bäume) {
            ::lchown(QFile::encodeName(baum).constData(), uid, gid);
            QDirIterator it(baum, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                ::lchown(QFile::encodeName(it.next()).constData(), uid, gid);
        }
        ::setfsgid(gid);
        ::setfsuid(uid);
        gewechselt = aktiv = int(::setfsuid(uid_t(-1))) == int(uid);
    }
    ~NormalerBenutzer() { Zurück(); }
    // Root again (before the trees are cleaned up, or to look as root).
    void Zurück()
    {
        if (!gewechselt)
            return;
        ::setfsuid(0);
        ::setfsgid(0);
        gewechselt = false;
    }
    NormalerBenutzer(const NormalerBenutzer&) = delete;
    NormalerBenutzer& operator=(const NormalerBenutzer&) = delete;
};

} // namespace testhilfe
