// Form_Load: start-up and the reload after every write. Reads the key from the product ID, builds the
// code table, finds psw.ini, the picture and the help file, and shows the first screen.
#include "MainWindow.h"
#include "form/HelpText.h"
#include "form/Messages.h"
#include "form/Module1.h"

namespace orvanta::form {

namespace {
constexpr std::u16string_view kProductKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr std::u16string_view kProductValue = u"ProductId";
constexpr std::u16string_view kProductNotFound = u"見つかりませんでした(ToT)";

struct Held {
    std::u16string path; ///< as the program names it
    std::string host;    ///< the host path it stands for
};

// The path of `name` in the first of `folders` that holds it, or nothing. A folder the host does
// not have (an empty entry) is passed over.
std::optional<Held> firstHolding(const host::FileSystem& files,
                                 std::initializer_list<std::optional<std::u16string>> folders,
                                 std::u16string_view name)
{
    for (const auto& folder : folders) {
        if (!folder)
            continue;
        std::u16string path = *folder + u"\\" + std::u16string(name);
        // A path the host cannot name does not exist there either.
        if (auto host = files.existingHostPath(path))
            return Held{std::move(path), std::move(*host)};
    }
    return std::nullopt;
}
} // namespace

void MainWindow::Form_Load()
{
    auto& env = m_services.environment;
    auto& files = m_services.files;

    // The picture lies beside the program; an installation on Linux keeps it in the shared folder
    // instead (/usr/share/orvanta). The window opens without it when it is in neither.
    auto picture = firstHolding(files, {env.programFolder(), env.sharedFolder()}, u"logob.jpg");
    m_pictureFile = picture ? std::move(picture->host) : std::string();

    regprodid.setText(registryResultText(
        QueryRegistryValue(m_services.registry, m_services.codePage, host::HKEY_LOCAL_MACHINE, kProductKey,
                           kProductValue, std::u16string(kProductNotFound))));
    const auto& id = regprodid.text();
    angoutbset(id.size() > 2 ? std::u16string_view(id).substr(id.size() - 2) : std::u16string_view(id));
    // A product ID that is there but cannot be read gives a key other than the machine's own: every
    // password would show wrongly, so the key message gives way to what is wrong and where.
    m_keyProblem.reset();
    if (const auto problem = m_services.registry.problem()) {
        m_keyProblem = problem->what;
        Txtmassage.setText(keyProblemMessage(problem->what, X.shown));
    }

    Txtdirectry.visible = false;
    regprodid.visible = false;
    applyScreen(Screen::Initial);

    // At start-up the copy button's action, with nothing shown yet, empties the clipboard. The reload
    // after a write must not run it: the display still holds the last password shown, which would
    // land on the clipboard unasked and push out whatever the user had copied.
    if (!m_started)
        btnclipset_Click();
    m_started = true;

    cmbnamae.clearItems();
    cmbnamae.setText(u"");
    Lblpassword.setText(u"");
    Lblbikouran.setText(u" ");
    inputkensu = 0;
    setTxtdirectry();
    ReadDataFile([this](long long slot) {
        if (records[slot].isHeader())
            cmbnamae.addItem(records[slot].name);
    });

    // The help file of the working directory comes first. A program started from the desktop menu
    // runs in the user's home folder, so the help installed with it is looked for next: beside the
    // program, then in the shared folder. When none is there, F1 names the working directory's.
    const std::u16string current = env.currentDirectory();
    auto help = firstHolding(files, {current, env.programFolder(), env.sharedFolder()}, u"ORVANTA.HLP");
    m_helpFile = help ? std::move(help->path) : current + u"\\ORVANTA.HLP";
}

void MainWindow::Form_Unload()
{
    m_services.timer.stop();
    takeSecretOffClipboard();
}

void MainWindow::reload()
{
    Form_Load();
    clearIdList();
    Lblpassword.setText(u"");
    Lblbikouran.setText(u" ");
}

void MainWindow::helpKey()
{
    auto& files = m_services.files;
    if (!files.exists(m_helpFile)) {
        Txtmassage.setText(helpMissingMessage(files.shownPath(m_helpFile)));
        return;
    }
    // Read as the data file is read: only a regular file, and one no larger than a help file needs to
    // be. A pipe of that name would keep the window waiting for ever; the file is read here once, and
    // the window shows what was read.
    const auto bytes = files.readFile(m_helpFile, kMaxHelpFileSize);
    if (!bytes) {
        Txtmassage.setText(helpUnreadableMessage(files.shownPath(m_helpFile), bytes.failure().description));
        return;
    }
    const auto help = readHelpFile(bytes.value());
    if (!help || !m_services.help.show(*help))
        Txtmassage.setText(helpUnreadableMessage(files.shownPath(m_helpFile)));
}

} // namespace orvanta::form
