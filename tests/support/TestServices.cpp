// One of each platform service for a test, over a fresh temporary Windows folder.
#include "support/TestServices.h"

namespace orvanta::test {

TestServices::TestServices()
{
    env.set(u"Windir", windowsDir.u16path());
    env.setProgramFolder(programDir.u16path());
    env.setCurrentDirectory(rootDir.u16path());
#ifdef _WIN32
    // The temporary folders, Windir among them, lie on the real drive C:; a path "\\x" still goes
    // to rootDir.
    drives.setDrive('C', "C:\\", host::DRIVE_FIXED, u"ローカル ディスク (C:)");
#else
    drives.setDrive('C', rootDir.path(), host::DRIVE_FIXED, u"ローカル ディスク (C:)");
#endif
    drives.setCurrentDriveRoot(rootDir.path());
}

host::Services TestServices::services()
{
    return host::Services{registry, env, files, codePage, clipboard, clock, random, help, drives, timer};
}

} // namespace orvanta::test
