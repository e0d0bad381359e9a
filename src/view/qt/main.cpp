// Orvanta: the one window, over this host's files, registry hive and drive links.
#include "OrvantaVersion.h"
#include "host/HostClock.h"
#include "host/HostEnvironment.h"
#include "host/HostRandomSource.h"
#include "host/linux/HostFileSystem.h"
#include "host/linux/IcuCodePage.h"
#include "host/linux/ProcessGuard.h"
#include "host/linux/UdevBlockDevices.h"
#include "host/linux/imitate_windows/DriveLinks.h"
#include "host/linux/imitate_windows/RegistryHive.h"
#include "view/qt/DesignColours.h"
#include "view/qt/Fonts.h"
#include "view/qt/QtClipboard.h"
#include "view/qt/QtHelpViewer.h"
#include "view/qt/QtText.h"
#include "view/qt/QtTimer.h"
#include "view/qt/WindowView.h"

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
    host::forbidCoreDumps();
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

    host::RegistryHive registry(host::RegistryHive::defaultPath());
    host::HostEnvironment environment;
    host::UdevBlockDevices devices;
    host::DriveLinks drives(host::DriveLinks::defaultDosdevices(), registry, devices);
    host::HostFileSystem files(drives);
    host::IcuCodePage codePage;
    view::QtClipboard clipboard;
    host::HostClock clock;
    host::HostRandomSource random;
    view::QtHelpViewer help;
    view::QtTimer timer;

    form::MainWindow window(
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
