#pragma once
// The sub-records of the system data: status-bar entries, menu items, the
// ranking switches of a play kind and the defaults of the System.ini keys.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"

// One entry of the play screen's status bar; by index: 0 the play's score,
// 1 the stage score, 2 the HP gauge, 3 the SP gauge, 4 the lives.
class cEdStatusItem : public cEdData {
public:
    std::int32_t bShow = 0;
    std::int32_t bIcon = 0; // a 16 x 16 icon instead of the label stands before the number
    std::string strLabel;
    std::int32_t bGaugeNumber = 1; // the number is drawn over the gauge
    std::int32_t nDigits = 0;      // digit cells of 16 pixels the entry reserves

    void RegisterMembers(int version) override;
    // The base body; files before 204 draw the number over the gauge.
    void Load(plat::ByteReader& f) override;
};

// One menu entry; a menu lists only its enabled entries.
class cEdMenuItem : public cEdData {
public:
    std::int32_t bEnabled = 1;
    std::string strLabel;

    void RegisterMembers(int version) override;
};

// Rankings and results of one play kind.
class cEdModeFlags : public cEdData {
public:
    std::int32_t bRanking = 0;
    // Byte k not 0: ranking kind k is used (0 score, 1 remaining time,
    // 2 clear time, 3 remaining HP, 4 remaining SP).
    std::vector<std::uint8_t> vRankKinds = std::vector<std::uint8_t>(5, 0);

    void RegisterMembers(int version) override;
    // The base body, then uint32 n and n bytes.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;
};

// The default of one System.ini key.
class cEdSysOption : public cEdData {
public:
    std::int32_t nKind = 0; // 0 number, 1 text
    std::string strName;
    std::int32_t nValue = 0;
    std::string strText;

    void RegisterMembers(int version) override;
    void SetInt(const std::string& name, int value);
    void SetText(const std::string& name, const std::string& text);
};
