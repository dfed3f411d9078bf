#include "boards/ProductList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {
fs::path WriteTable(const std::string& name, const std::string& text)
{
    const fs::path path = fs::temp_directory_path() / name;
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path;
}
} // namespace

TEST(ProductList, ShippedTableNamesTheFiveBoardTypes)
{
    TProductList list(std::string(RAILSCOPE_SOURCE_DIR) + "/data/progdevicelist.csv");
    EXPECT_EQ(list.GetLastError(), "");
    ASSERT_EQ(list.Count(), 7u);
    struct Row {
        const char* product;
        uint32_t id;
    };
    const Row rows[] = {{"ORB4", 1}, {"KPX9", 2}, {"KPX9", 3}, {"KPX9", 4}, {"ORB8", 5}, {"RVN2", 6}, {"QXP6", 7}};
    for (uint32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(list.GetProductName(i), rows[i].product);
        EXPECT_EQ(list.GetProductId(i), rows[i].id);
        EXPECT_EQ(list.GetManufacturerId(i), 1u);
        EXPECT_FALSE(list.GetManufacturerName(i).empty());
        EXPECT_FALSE(list.GetDescription(i).empty());
    }
}

TEST(ProductList, DefaultConstructorReadsTheCopyBesideTheProgram)
{
    EXPECT_EQ(TProductList::ProgramFolder(), std::string(RAILSCOPE_BIN_DIR) + "/");
    TProductList list;
    EXPECT_EQ(list.Count(), 7u) << list.GetLastError();
}

TEST(ProductList, FieldsInTheirColumns)
{
    const auto path = WriteTable("railscope_products_columns.csv",
                                 "\"Count\",2\r\n\"Product\",\"Product Id\",\"Maker\",\"Maker Id\",\"Description\"\r\n"
                                 "\"Gadget\",300,\"Acme, Inc\",13,\"A \"\"thing\"\"\"\r\n"
                                 "Plain,65535,Other,70000,\r\n");
    TProductList list(path.string());
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.GetProductName(0), "Gadget");
    EXPECT_EQ(list.GetProductId(0), 300u);
    EXPECT_EQ(list.GetManufacturerName(0), "Acme, Inc");
    EXPECT_EQ(list.GetManufacturerId(0), 13u);
    EXPECT_EQ(list.GetProductName(1), "Plain");
    EXPECT_EQ(list.GetProductId(1), 65535u);
    EXPECT_EQ(list.GetManufacturerId(1), 70000u);
    EXPECT_EQ(list.GetDescription(1), "");
    EXPECT_EQ(list.GetProductName(2), "") << "no such row";
    EXPECT_EQ(list.GetProductId(2), 0u);
    fs::remove(path);
}

TEST(ProductList, CountBeyondTheRowsReadsWhatIsThere)
{
    const auto path =
        WriteTable("railscope_products_short.csv", "\"Count\",2000000000\r\nheader\r\n\"ORB4\",1,\"M\",1,\"D\"\r\n");
    TProductList list(path.string());
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.GetProductName(0), "ORB4");
    EXPECT_FALSE(list.GetLastError().empty());
    fs::remove(path);
}

TEST(ProductList, CountBelowTheRowsIgnoresTheRest)
{
    const auto path = WriteTable("railscope_products_long.csv", "Count,1\nheader\nA,1,M,1,D\nB,2,M,1,D\n");
    TProductList list(path.string());
    EXPECT_EQ(list.Count(), 1u);
    fs::remove(path);
}

TEST(ProductList, MissingOrBrokenFilesGiveAnEmptyTable)
{
    TProductList missing("/nonexistent/progdevicelist.csv");
    EXPECT_EQ(missing.Count(), 0u);
    EXPECT_NE(missing.GetLastError().find("/nonexistent/progdevicelist.csv"), std::string::npos);

    for (const char* text : {"", "Count\r\n", "Count,-5\r\nheader\r\nA,1,M,1,D\r\n", "Count,abc\r\n"}) {
        const auto path = WriteTable("railscope_products_broken.csv", text);
        TProductList list(path.string());
        EXPECT_EQ(list.Count(), 0u) << text;
        fs::remove(path);
    }
}
