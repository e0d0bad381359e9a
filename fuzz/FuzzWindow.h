#pragma once

// The window over services that never leave the process: files in memory, a fixed product ID, no
// drives. Building one is cheap, so a fuzz target can run a handler on every input.

#include "form/MainWindow.h"
#include "host/FileAsRead.h"
#include "host/FileRules.h"
#include "host/Services.h"
#include "host/linux/IcuCodePage.h"

#include <map>
#include <string>

namespace orvanta::fuzz {

/// Files as a map from the path the program names them by to their bytes.
class MemoryFiles final : public host::FileSystem {
public:
    std::optional<host::Failure> replaceRefusal(std::u16string_view) const override { return std::nullopt; }
    // The files have no host path: one that is there is named by an empty one.
    std::optional<std::string> existingHostPath(std::u16string_view path) const override
    {
        return files.contains(std::u16string(path)) ? std::optional<std::string>("") : std::nullopt;
    }
    std::optional<std::string> hostPath(std::u16string_view) const override { return std::nullopt; }

    std::map<std::u16string, std::string> files;

protected:
    host::Expected<std::string> read(std::u16string_view path, std::size_t limit) const override
    {
        const auto found = files.find(std::u16string(path));
        if (found == files.end())
            return host::Failure{host::Failure::Kind::NotFound, u"ファイルが見つかりません。"};
        if (found->second.size() > limit)
            return host::Failure{host::Failure::Kind::Other, host::tooLargeDescription(limit)};
        return found->second;
    }
    host::WriteOutcome write(std::u16string_view path, std::string_view bytes,
                             const host::WriteKind& kind) override
    {
        const auto now = host::FileAsRead::of(readFile(path));
        const auto* users = std::get_if<host::UsersFile>(&kind);
        if (users && users->asRead != nullptr && *users->asRead != now.contents())
            return host::Failure{host::Failure::Kind::Changed, u"変更されています。"};
        files[std::u16string(path)] = std::string(bytes);
        return {};
    }
};

/// A machine whose product ID ends in "23", with the Windows folder "C:\WINDOWS".
class FixedServices final : public host::Registry,
                            public host::Environment,
                            public host::Clipboard,
                            public host::Clock,
                            public host::RandomSource,
                            public host::HelpViewer,
                            public host::Drives,
                            public host::Timer {
public:
    std::optional<host::RegistryValue> queryValue(std::uint32_t root, std::u16string_view subKey,
                                                  std::u16string_view valueName) const override
    {
        if (root != host::HKEY_LOCAL_MACHINE || subKey != u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion" ||
            valueName != u"ProductId")
            return std::nullopt;
        const std::string id = "55274-640-1234567-23";
        host::RegistryValue value{host::REG_SZ, {id.begin(), id.end()}};
        value.data.push_back(0);
        return value;
    }
    std::optional<std::u16string> variable(std::u16string_view name) const override
    {
        if (name == u"Windir")
            return u"C:\\WINDOWS";
        return std::nullopt;
    }
    std::u16string programFolder() const override { return u"C:\\Orvanta"; }
    std::u16string currentDirectory() const override { return u"C:\\"; }
    void clear() override {}
    void setText(std::u16string_view) override {}
    std::u16string text() const override { return {}; }
    bool holdsOwnCopy() const override { return false; }
    host::LocalTime now() const override { return {2026, 2, 3, 9, 5, 7}; }
    std::uint32_t below(std::uint32_t) override { return 0; }
    bool show(const host::HelpDocument& help) override
    {
        shownHelp = help;
        return true;
    }
    std::uint32_t GetDriveTypeA(std::string_view) const override { return host::DRIVE_NO_ROOT_DIR; }
    std::u16string displayName(std::string_view) const override { return {}; }
    std::optional<std::string> root(char) const override { return std::nullopt; }
    std::string currentDriveRoot() const override { return "/"; }
    // A secret's time on the clipboard never runs out inside one input.
    void start(std::chrono::milliseconds, std::function<void()>) override {}
    void stop() override {}

    /// The help F1 showed last.
    host::HelpDocument shownHelp;
};

/// The data file and the backup file as the window names them on this machine.
inline constexpr std::u16string_view kDataFile = u"C:\\WINDOWS\\psw.ini";
inline constexpr std::u16string_view kBackupFile = u"\\psw.bkp";

struct FuzzWindow {
    /// Started with `psw.ini` as the data file (none when empty), reading its product ID from
    /// `registry` when one is given.
    explicit FuzzWindow(std::string_view pswIni = {}, host::Registry* registry = nullptr)
        : window(host::Services{registry != nullptr ? *registry : static_cast<host::Registry&>(fixed), fixed,
                                files, codePage, fixed, fixed, fixed, fixed, fixed, fixed})
    {
        if (!pswIni.empty())
            files.files[std::u16string(kDataFile)] = std::string(pswIni);
        window.Form_Load();
    }

    FixedServices fixed;
    MemoryFiles files;
    host::IcuCodePage codePage;
    form::MainWindow window;
};

} // namespace orvanta::fuzz
