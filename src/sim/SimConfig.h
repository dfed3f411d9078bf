#pragma once
// What the simulated LocoNet holds: its boards, its background traffic and its faults, as given
// by the device name "sim" or "sim:OPTIONS".
//
// Options are separated by ';':
//   boards=ORB4@1000,QXP6@2000/fw3,...   the boards (type@serial, optionally /fwN); "boards=" none
//   traffic=on|off                       a light stream of sensor, switch and throttle messages
//   pace=real|off                        each message holds the bus for its bytes x 10 bits at
//                                        16457 baud plus a small gap
//   drop=P, corrupt=P, junk=P            fault probabilities from 0 to 1: a board's reply is lost;
//                                        a message arrives with one bit flipped; junk bytes
//                                        (bit 7 clear) come before a message
//   readback=SV                          each board reports one wrong value for that SV, once,
//                                        in its first reply to a write of it
//   silent=SERIAL                        the board with that serial number never answers
//   seed=N                               seed of the fault and traffic generator

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One board of the "boards=" option: type, serial number and firmware version.
struct TSimBoardEntry {
    int TypeIndex = 0; // board type index: 0 ORB4, 1 KPX9, 2 ORB8, 3 RVN2, 4 QXP6
    uint16_t Serial = 0;
    uint8_t Firmware = 1;
};

struct TSimConfig {
    std::vector<TSimBoardEntry> Boards = DefaultBoards();
    bool Traffic = false;
    bool PaceReal = false;
    double Drop = 0.0;
    double Corrupt = 0.0;
    double Junk = 0.0;
    uint32_t ReadbackSV = 0; // 0: no read-back fault
    uint32_t SilentSerial = 0; // 0: every board answers
    uint64_t Seed = 1;

    // One board of each type in type-index order, serial numbers 1001 to 1005, firmware 1.
    static std::vector<TSimBoardEntry> DefaultBoards();
};

// Parses what follows "sim:" (an empty text gives the defaults). False with a clear reason in
// `error` for an unknown option or a bad value; `config` is then unchanged.
bool ParseSimOptions(std::string_view options, TSimConfig& config, std::string& error);

// Parses a whole device name "sim" or "sim:OPTIONS". False when the name is not of that form
// (error empty) or its options are wrong (error set).
bool ParseSimDeviceName(std::string_view deviceName, TSimConfig& config, std::string& error);
