#include "core/tik_inf.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

TEST(TikInf, StoresTheFullLayoutWhateverTheVersion) {
    CTik_Inf r;
    r.m_nReserved[16] = 4;
    r.m_dRotation = -45.0;
    CArchive out;
    r.Serialize(out, 5);
    EXPECT_EQ(out.Bytes().size(), 236u);

    CTik_Inf back;
    CArchive in(out.Bytes());
    back.Serialize(in, 8);
    EXPECT_EQ(back, r);
}

TEST(TikInf, VersionFiveKeepsTheRotationItHeld) {
    CTik_Inf r;
    r.m_dNorth = 7.5;
    CArchive out;
    r.Serialize(out, 8);
    std::vector<std::uint8_t> v5(out.Bytes().begin(), out.Bytes().end() - 8);
    CTik_Inf back;
    back.m_dRotation = 12.0;
    CArchive in(v5);
    back.Serialize(in, 5);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(back.m_dRotation, 12.0);
    EXPECT_EQ(back.m_dNorth, 7.5);
    back.Init();
    EXPECT_EQ(back, CTik_Inf());
}

}  // namespace
}  // namespace wv
