#include "sim/SimConfig.h"

#include <gtest/gtest.h>

namespace {

TEST(SimOptions, PlainSimHasOneBoardOfEachTypeAndNoFaults)
{
    TSimConfig config;
    config.Traffic = true;
    std::string error;
    ASSERT_TRUE(ParseSimDeviceName("sim", config, error));
    ASSERT_EQ(config.Boards.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(config.Boards[i].TypeIndex, i);
        EXPECT_EQ(config.Boards[i].Serial, 1001 + i);
        EXPECT_EQ(config.Boards[i].Firmware, 1);
    }
    EXPECT_FALSE(config.Traffic);
    EXPECT_FALSE(config.PaceReal);
    EXPECT_EQ(config.Drop, 0.0);
    EXPECT_EQ(config.Corrupt, 0.0);
    EXPECT_EQ(config.Junk, 0.0);
    EXPECT_EQ(config.ReadbackSV, 0u);
    EXPECT_EQ(config.SilentSerial, 0u);
    EXPECT_FALSE(ParseSimDeviceName("simulator", config, error));
    EXPECT_TRUE(error.empty());
}

TEST(SimOptions, ParsesEveryOption)
{
    TSimConfig config;
    std::string error;
    ASSERT_TRUE(
        ParseSimDeviceName("sim:boards=ORB4@1000, qxp6@2000/fw3,KPX9@65535;traffic=on;pace=real;drop=0.25;corrupt=1;"
                           "junk=0.5;readback=17;silent=2000;seed=42;",
                           config, error))
        << error;
    ASSERT_EQ(config.Boards.size(), 3u);
    EXPECT_EQ(config.Boards[0].TypeIndex, 0);
    EXPECT_EQ(config.Boards[0].Serial, 1000);
    EXPECT_EQ(config.Boards[1].TypeIndex, 4);
    EXPECT_EQ(config.Boards[1].Serial, 2000);
    EXPECT_EQ(config.Boards[1].Firmware, 3);
    EXPECT_EQ(config.Boards[2].TypeIndex, 1);
    EXPECT_EQ(config.Boards[2].Serial, 65535);
    EXPECT_TRUE(config.Traffic);
    EXPECT_TRUE(config.PaceReal);
    EXPECT_DOUBLE_EQ(config.Drop, 0.25);
    EXPECT_DOUBLE_EQ(config.Corrupt, 1.0);
    EXPECT_DOUBLE_EQ(config.Junk, 0.5);
    EXPECT_EQ(config.ReadbackSV, 17u);
    EXPECT_EQ(config.SilentSerial, 2000u);
    EXPECT_EQ(config.Seed, 42u);

    ASSERT_TRUE(ParseSimDeviceName("sim:boards=", config, error));
    EXPECT_TRUE(config.Boards.empty());
}

TEST(SimOptions, BadOptionsAreRefusedWithAReason)
{
    const std::pair<const char*, const char*> cases[] = {
        {"colour=red", "unknown option 'colour'"},
        {"traffic", "needs a value"},
        {"traffic=maybe", "on or off"},
        {"pace=fast", "real or off"},
        {"drop=1.5", "from 0 to 1"},
        {"corrupt=-0.1", "from 0 to 1"},
        {"junk=abc", "from 0 to 1"},
        {"readback=0", "1 to 512"},
        {"readback=513", "1 to 512"},
        {"silent=70000", "1 to 65535"},
        {"seed=x", "whole number"},
        {"boards=ORB5@1", "unknown board type 'ORB5'"},
        {"boards=ORB4", "TYPE@SERIAL"},
        {"boards=ORB4@0", "bad serial number"},
        {"boards=ORB4@65536", "bad serial number"},
        {"boards=ORB4@12/v3", "bad firmware"},
        {"boards=ORB4@12/fw256", "bad firmware"},
    };
    for (const auto& [options, reason] : cases) {
        TSimConfig config;
        config.Seed = 7;
        std::string error;
        EXPECT_FALSE(ParseSimOptions(options, config, error)) << options;
        EXPECT_NE(error.find(reason), std::string::npos) << options << ": " << error;
        EXPECT_EQ(error.rfind("simulated LocoNet: ", 0), 0u) << error;
        EXPECT_EQ(config.Seed, 7u) << "config changed by " << options;
    }
}

} // namespace
