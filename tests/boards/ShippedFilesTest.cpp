// Where the shipped files are found: beside the program first, then in the installed data folder.
#include "boards/ShippedFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A prefix with bin/ and share/railscope/, as cmake --install lays it out.
struct TInstalledTree {
    fs::path Root = fs::temp_directory_path() / ("railscope_shipped_" + std::to_string(getpid()));
    std::string Bin = (Root / "bin").generic_string() + "/";
    std::string Share = (Root / "share" / "railscope").generic_string() + "/";

    TInstalledTree() { fs::create_directories(Root / "bin"); }
    ~TInstalledTree() { fs::remove_all(Root); }
    void Put(const std::string& file) const
    {
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream(file) << "x";
    }
};

} // namespace

TEST(ShippedFiles, ProgramFolderFirstThenInstalledDataFolder)
{
    const struct {
        const char* name;
        bool besideProgram;
        bool inDataFolder;
        bool foundInDataFolder;
    } cases[] = {
        {"progdevicelist.csv", true, true, false},
        {"progdevicelist.csv", false, true, true},
        {"progdevicelist.csv", true, false, false},
        {"progdevicelist.csv", false, false, false}, // nowhere: named in the program's folder
        {"help/contexts.txt", false, true, true},
        {"help/contexts.txt", true, true, false},
    };
    for (const auto& c : cases) {
        TInstalledTree tree;
        if (c.besideProgram) tree.Put(tree.Bin + c.name);
        if (c.inDataFolder) tree.Put(tree.Share + c.name);
        const std::string want = (c.foundInDataFolder ? tree.Share : tree.Bin) + c.name;
        EXPECT_EQ(shipped::FindFile(c.name, tree.Bin), want) << c.name << c.besideProgram << c.inDataFolder;
        // The same without the trailing separator.
        EXPECT_EQ(shipped::FindFile(c.name, tree.Bin.substr(0, tree.Bin.size() - 1)), want) << c.name;
    }
}

TEST(ShippedFiles, FoldersInOrderAndNoneWithoutAProgramFolder)
{
    EXPECT_EQ(shipped::Folders("/opt/rs/bin"), (std::vector<std::string>{"/opt/rs/bin/", "/opt/rs/share/railscope/"}));
    EXPECT_TRUE(shipped::Folders("").empty());
    EXPECT_EQ(shipped::FindFile("progdevicelist.csv", ""), "");
}
