#include "svprog/RenumberableBoard.h"

#include "boards/ProductList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// The reply a board sends to a command: the same fields, bit 6 set in the command byte.
TLNSVProgMessage ReplyTo(const TLNSVProgMessage& command)
{
    uint8_t bytes[15];
    for (uint32_t i = 0; i < 15; ++i) bytes[i] = command.GetByte(i);
    bytes[3] |= 0x40;
    TLocoNetMessage reply(bytes, 15);
    reply.AddChecksum();
    return TLNSVProgMessage(reply);
}

TLNSVProgMessage DiscoverReply(uint32_t manufacturerId, uint32_t productId, uint32_t serial)
{
    // A Change Address command carries the same three fields in the same places as the replies
    // of Discover and Identify; only the command code differs.
    TLNSVProgMessage m;
    m.SetChangeAddress(0, manufacturerId, productId, serial, 0);
    uint8_t bytes[15];
    for (uint32_t i = 0; i < 15; ++i) bytes[i] = m.GetByte(i);
    bytes[3] = 0x47;
    TLocoNetMessage reply(bytes, 15);
    reply.AddChecksum();
    return TLNSVProgMessage(reply);
}

TLNSVProgMessage IdentifyReply(uint32_t manufacturerId, uint32_t productId, uint32_t serial)
{
    TLNSVProgMessage m = DiscoverReply(manufacturerId, productId, serial);
    uint8_t bytes[15];
    for (uint32_t i = 0; i < 15; ++i) bytes[i] = m.GetByte(i);
    bytes[3] = 0x48;
    TLocoNetMessage reply(bytes, 15);
    reply.AddChecksum();
    return TLNSVProgMessage(reply);
}

std::string ProductTableFile()
{
    const auto path = std::filesystem::temp_directory_path() / "railscope_renumber_products.csv";
    std::ofstream out(path, std::ios::binary);
    out << "\"Count\",3\r\nheader\r\n"
           "\"KPX9\",3,\"Brenmoor Electronics\",1,\"Lever panel\"\r\n"
           "\"Other\",3,\"Someone else\",2,\"Not ours\"\r\n"
           "\"KPX9 again\",3,\"Brenmoor\",1,\"second row\"\r\n";
    return path.string();
}

} // namespace

TEST(RenumberableBoard, MadeFromDiscoverAndIdentifyReplies)
{
    const TRenumberableBoard found(DiscoverReply(1, 7, 0x1234));
    EXPECT_EQ(found.SerialNumber, 0x1234u);
    EXPECT_EQ(found.ManufacturerId, 1u);
    EXPECT_EQ(found.ProductId, 7u);
    EXPECT_EQ(found.ProductName, "");
    const TRenumberableBoard identified(IdentifyReply(0x81, 0x0283, 0xFFFF));
    EXPECT_EQ(identified.SerialNumber, 0xFFFFu);
    EXPECT_EQ(identified.ManufacturerId, 0x81u);
    EXPECT_EQ(identified.ProductId, 0x0283u);
}

TEST(RenumberableBoard, OtherMessagesGiveUnknownIds)
{
    TLNSVProgMessage discover;
    discover.SetDiscover(0);
    TLNSVProgMessage write;
    write.SetWrite1(0, 1000, 5, 1);
    for (const TLNSVProgMessage* m : {&discover, &write}) {
        const TRenumberableBoard board(*m);
        EXPECT_EQ(board.SerialNumber, 65535u);
        EXPECT_EQ(board.ManufacturerId, 65535u);
        EXPECT_EQ(board.ProductId, 65535u);
    }
    const TRenumberableBoard empty{TLNSVProgMessage()};
    EXPECT_EQ(empty.SerialNumber, 65535u);
}

TEST(RenumberableBoard, LookUpProductTakesTheFirstMatchingRow)
{
    const TProductList products(ProductTableFile());
    TRenumberableBoard board(DiscoverReply(1, 3, 500));
    board.LookUpProduct(products);
    EXPECT_EQ(board.ProductName, "KPX9");
    EXPECT_EQ(board.ManufacturerName, "Brenmoor Electronics");
    EXPECT_EQ(board.Description, "Lever panel");
    EXPECT_EQ(board.GetListLine(), "500\tKPX9\tBrenmoor Electronics\tLever panel");

    // No row for product 9: the texts stay as they were.
    TRenumberableBoard unknown(DiscoverReply(1, 9, 501));
    unknown.ProductName = "kept";
    unknown.LookUpProduct(products);
    EXPECT_EQ(unknown.ProductName, "kept");
    EXPECT_EQ(unknown.GetListLine(), "501\tkept\t\t");

    // The manufacturer has to match too.
    TRenumberableBoard other(DiscoverReply(2, 3, 502));
    other.LookUpProduct(products);
    EXPECT_EQ(other.ProductName, "Other");
}

TEST(RenumberableBoard, ShippedProductTableNamesEveryBoardType)
{
    const TProductList products(std::string(RAILSCOPE_SOURCE_DIR) + "/data/progdevicelist.csv");
    const std::pair<uint32_t, const char*> ids[] = {{1, "ORB4"}, {2, "KPX9"}, {3, "KPX9"}, {4, "KPX9"},
                                                    {5, "ORB8"}, {6, "RVN2"}, {7, "QXP6"}};
    for (const auto& [productId, tag] : ids) {
        TRenumberableBoard board(DiscoverReply(1, productId, 10));
        board.LookUpProduct(products);
        EXPECT_EQ(board.ProductName, tag) << productId;
    }
}

TEST(RenumberableBoard, IdentifyAndChangeAddressCommands)
{
    TRenumberableBoard board(DiscoverReply(1, 0x85, 0x1F3));
    const auto identify = board.MakeIdentify();
    ASSERT_NE(identify, nullptr);
    EXPECT_EQ(identify->SVKind(), eSVIDENTIFY);
    uint32_t source = 99, destination = 0;
    identify->GetReconfigure(source, destination); // source and destination, whatever the kind
    EXPECT_EQ(source, 0u);
    EXPECT_EQ(destination, 0x1F3u);

    const auto change = board.MakeChangeAddress(40000);
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->SVKind(), eSVCHANGEADDR);
    uint32_t manufacturerId = 0, productId = 0, serial = 0, newSerial = 0;
    change->GetChangeAddress(source, manufacturerId, productId, serial, newSerial);
    EXPECT_EQ(source, 0u);
    EXPECT_EQ(manufacturerId, 1u);
    EXPECT_EQ(productId, 0x85u);
    EXPECT_EQ(serial, 0x1F3u);
    EXPECT_EQ(newSerial, 40000u);
}

TEST(RenumberableBoard, RecognisesItsIdentifyReply)
{
    const TRenumberableBoard board(DiscoverReply(1, 6, 700));
    EXPECT_TRUE(board.IsIdentifyReplyFor(IdentifyReply(1, 6, 700)));
    EXPECT_FALSE(board.IsIdentifyReplyFor(IdentifyReply(1, 6, 701)));
    EXPECT_FALSE(board.IsIdentifyReplyFor(IdentifyReply(1, 5, 700)));
    EXPECT_FALSE(board.IsIdentifyReplyFor(IdentifyReply(2, 6, 700)));
    EXPECT_FALSE(board.IsIdentifyReplyFor(DiscoverReply(1, 6, 700))) << "a Discover reply is not one";
    EXPECT_FALSE(board.IsIdentifyReplyFor(*board.MakeIdentify())) << "nor is the command itself";
    EXPECT_TRUE(board.HasSerial(700));
    EXPECT_FALSE(board.HasSerial(701));
}

TEST(RenumberableBoard, ChangeAddressReplyGivesTheNewSerial)
{
    TRenumberableBoard board(DiscoverReply(1, 2, 300));
    const auto command = board.MakeChangeAddress(301);
    EXPECT_FALSE(board.IsChangeAddressReplyFor(*command)) << "the command is no reply";
    EXPECT_EQ(board.SerialNumber, 300u);

    TRenumberableBoard other(DiscoverReply(1, 3, 300));
    EXPECT_FALSE(other.IsChangeAddressReplyFor(ReplyTo(*command)));
    EXPECT_EQ(other.SerialNumber, 300u);

    EXPECT_TRUE(board.IsChangeAddressReplyFor(ReplyTo(*command)));
    EXPECT_EQ(board.SerialNumber, 301u);
    EXPECT_TRUE(board.HasSerial(301));
    // The same reply again no longer matches: the board has its new number.
    EXPECT_FALSE(board.IsChangeAddressReplyFor(ReplyTo(*command)));
}
