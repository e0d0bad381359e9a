#include "support/TestServices.h"

#include <gtest/gtest.h>

namespace orvanta::test {
namespace {

TEST(TestServices, WindirIsAFolderTheTestCanFill)
{
    TestServices s;
    platform::Services services = s.services();
    EXPECT_EQ(services.environment.variable(u"Windir"), s.dataDir());

    s.windowsDir.write("psw.ini", "from the test");
    const auto read = services.files.readFile(s.dataDir() + u"\\psw.ini");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), "from the test");

    ASSERT_TRUE(services.files.writeFile(u"C:\\psw.bkp", "backup").ok());
    EXPECT_EQ(s.rootDir.read("psw.bkp"), "backup");
    EXPECT_EQ(services.files.readFile(u"\\psw.bkp").value(), "backup");
    EXPECT_EQ(services.drives.GetDriveTypeA("C:\\"), platform::DRIVE_FIXED);
    EXPECT_EQ(services.drives.GetDriveTypeA("A:\\"), platform::DRIVE_NO_ROOT_DIR);
}

TEST(TestServices, FakesRecordWhatHappened)
{
    TestServices s;
    platform::Services services = s.services();

    services.clipboard.setText(u"秘密");
    EXPECT_EQ(s.clipboard.text(), u"秘密");
    services.clipboard.clear();
    EXPECT_EQ(s.clipboard.text(), u"");
    EXPECT_EQ(s.clipboard.clearCount(), 1);

    s.random.setValues({3, 1, 4});
    EXPECT_EQ(services.random.below(10), 3u);
    EXPECT_EQ(services.random.below(10), 1u);
    EXPECT_EQ(services.random.below(5), 4u);
    EXPECT_EQ(services.random.below(10), 3u);
    EXPECT_EQ(s.random.bounds(), (std::vector<std::uint32_t>{10, 10, 5, 10}));

    s.registry.setText(platform::HKEY_LOCAL_MACHINE, u"Software\\Test", u"Name", u"名前");
    const auto value = services.registry.queryValue(platform::HKEY_LOCAL_MACHINE, u"SOFTWARE\\TEST", u"name");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, (std::vector<std::uint8_t>{0x96, 0xBC, 0x91, 0x4F, 0}));

    s.help.setResult(false);
    EXPECT_FALSE(services.help.open("/x/help.html"));
    EXPECT_EQ(s.help.openedPaths(), std::vector<std::string>{"/x/help.html"});
}

} // namespace
} // namespace orvanta::test
