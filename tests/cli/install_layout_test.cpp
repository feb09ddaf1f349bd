// `cmake --install` into a temporary prefix: the programs, the desktop entry
// and the icon where a Linux desktop looks for them; --version of the result.
#include <archive.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QtGlobal>
#include <filesystem>

#include "support/shell.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

TEST(InstallLayout, ProgramsEntryAndIconInTheirPlaces) {
    std::string prefix = (fs::temp_directory_path() / "qv5prefixXXXXXX").string();
    ASSERT_TRUE(mkdtemp(prefix.data()));
    test::ShellResult r =
        test::RunShell("cmake --install '" QV5_BUILD_DIR "' --prefix '" + prefix + "' 2>&1");
    ASSERT_EQ(r.code, 0) << r.out;
    for (const char* file : {"bin/QV5", "bin/QV5-full", "share/applications/qv5setup.desktop",
                             "share/icons/hicolor/scalable/apps/qv5setup.svg"})
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
    r = test::RunShell("desktop-file-validate '" + prefix +
                       "/share/applications/qv5setup.desktop' 2>&1");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");

    // The installed program runs, and names the libraries it runs on.
    r = test::RunShell("'" + prefix + "/bin/QV5' --version 2>&1");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, std::string("QV5 SETUP ") + QV5_VERSION + "\nQt " + qVersion() + "\nSQLite " +
                         sqlite3_libversion() + "\n" + archive_version_string() + "\nlibcurl " +
                         curl_version_info(CURLVERSION_NOW)->version + "\n");
    fs::remove_all(prefix);
}

}  // namespace
}  // namespace qv5
