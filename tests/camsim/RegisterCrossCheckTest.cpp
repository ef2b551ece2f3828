#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "model/CameraRegisters.h"
#include "params/CameraParamTable.h"

using namespace zr;
using namespace zr::sim;

namespace {

// One register of the camera's description, blocks taken apart.
struct CameraCell {
    const CameraRegister* reg;
    int offset;
    int address() const { return reg->address + offset; }
};

std::vector<CameraCell> cameraCells() {
    std::vector<CameraCell> cells;
    for (const auto& reg : CameraRegisters::all()) {
        for (int offset = 0; offset < reg.count; ++offset) cells.push_back({&reg, offset});
    }
    return cells;
}

bool isEmptyRow(const CameraParam& p) {
    return p.readArea == 0 && p.writeArea == 0;
}

// The program's table and the camera's description are written apart; they
// must agree register by register, in the same order, so that a wrong
// address, width, default or range on either side shows here.
TEST(RegisterCrossCheck, ProgramTableMatchesTheCameraRowByRow) {
    const auto cells = cameraCells();
    size_t next = 0;
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(row)];
        SCOPED_TRACE("row " + std::to_string(row));
        if (isEmptyRow(p)) {
            EXPECT_EQ(int{p.address}, 0);
            EXPECT_EQ(p.defaultValue, 0);
            EXPECT_EQ(p.minValue, 0);
            EXPECT_EQ(p.maxValue, 0);
            continue;
        }
        ASSERT_LT(next, cells.size()) << "the camera has no register for this row";
        const CameraCell& cell = cells[next++];
        const CameraRegister& reg = *cell.reg;
        SCOPED_TRACE(std::string("camera register \"") + reg.name + "\" + " +
                     std::to_string(cell.offset));
        // A wrong place shifts everything after it: stop at the first one.
        ASSERT_EQ(int{p.writeArea}, int{reg.area});
        ASSERT_EQ(int{p.address}, cell.address());
        EXPECT_EQ(int{p.readArea}, reg.area | 0x80);
        EXPECT_EQ(p.dataBytes(), int{reg.width});
        EXPECT_EQ(p.defaultValue, reg.powerOn);
        EXPECT_EQ(p.minValue, reg.min);
        EXPECT_EQ(p.maxValue, reg.max);
    }
    // What is left the program reaches by raw command texts only.
    for (; next < cells.size(); ++next) {
        const RegisterRole role = cells[next].reg->role;
        EXPECT_TRUE(role == RegisterRole::FullInitialise || role == RegisterRole::LutEntry ||
                    role == RegisterRole::SpotCoordinate)
            << cells[next].reg->name << " has no row in the program's table";
    }
}

// Two descriptions of one register would leave the camera with whichever
// came last.
TEST(RegisterCrossCheck, EveryCameraRegisterHasOneAddressOfItsOwn) {
    std::map<int, std::string> seen;
    for (const auto& cell : cameraCells()) {
        const CameraRegister& reg = *cell.reg;
        EXPECT_EQ(reg.area & 0x80, 0) << reg.name;
        EXPECT_LE(cell.address(), 0xFF) << reg.name;
        EXPECT_TRUE(reg.width == 1 || reg.width == 2) << reg.name;
        EXPECT_LE(reg.min, reg.max) << reg.name;
        const int key = reg.area << 8 | cell.address();
        const auto [it, added] = seen.emplace(key, reg.name);
        EXPECT_TRUE(added) << reg.name << " + " << cell.offset << " shares its address with "
                           << it->second;
    }
}

}  // namespace
