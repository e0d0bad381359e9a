// Orvanta: the one window, over this host's files, registry hive and drive links.
#include "OrvantaVersion.h"
#include "platform/HostClock.h"
#include "platform/HostEnvironment.h"
#include "platform/HostRandomSource.h"
#include "platform/linux/HostFileSystem.h"
#include "platform/linux/IcuCodePage.h"
#include "platform/linux/ProcessGuard.h"
#include "platform/linux/UdevBlockDevices.h"
#include "platform/linux/imitate_windows/DriveLinks.h"
#include "platform/linux/imitate_windows/RegistryHive.h"
#include "view/DesignColours.h"
#include "view/Fonts.h"
#include "view/QtClipboard.h"
#include "view/QtHelpViewer.h"
#include "view/QtText.h"
#include "view/QtTimer.h"
#include "view/WindowView.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;
using namespace orvanta;

int main(int argc, char* argv[])
{
    // Before anything holds a password.
    platform::forbidCoreDumps();
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Orvanta"_s);
    QApplication::setApplicationVersion(view::toQString(kVersion));
    // The desktop entry's name without ".desktop", so that the desktop ties the window to its menu
    // entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ORVANTA_APP_ID));
    view::keepDesignStyle();
    view::installJapaneseFonts();
    // Qt's own texts (the boxes' menus) in the desktop's language, as Qt ships them
    // (qt6-translations-l10n); Orvanta's own texts are Japanese whatever the language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale::system(), u"qtbase"_s, u"_"_s,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    platform::RegistryHive registry(platform::RegistryHive::defaultPath());
    platform::HostEnvironment environment;
    platform::UdevBlockDevices devices;
    platform::DriveLinks drives(platform::DriveLinks::defaultDosdevices(), registry, devices);
    platform::HostFileSystem files(drives);
    platform::IcuCodePage codePage;
    view::QtClipboard clipboard;
    platform::HostClock clock;
    platform::HostRandomSource random;
    view::QtHelpViewer help;
    view::QtTimer timer;

    app::MainWindow window(
        {registry, environment, files, codePage, clipboard, clock, random, help, drives, timer});
    view::WindowView view(window);
    // Like the picture, the icon waits until the window is on the screen, and for its first paint
    // (queued): set earlier, even from a timer, it is decoded before the window's request to be shown
    // leaves for the display.
    QObject::connect(
        &view, &view::WindowView::appeared, &view,
        [] { QApplication::setWindowIcon(QIcon(u":/orvanta/orvanta.png"_s)); }, Qt::QueuedConnection);
    view.load();
    view.show();
    return QApplication::exec();
}
