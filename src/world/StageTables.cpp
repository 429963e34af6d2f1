// The stages' tile and object files. A name "base1..base6" stands for the
// numbered run base1, base2, ... base6 (the width of the first number is
// kept: "fun01..fun13"); a name starting with '=' has no extension.
#include "world/StageTables.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using List = std::initializer_list<const char*>;

const List kTiles[kStageTableCount] = {
    {"arrow_s", "asplat", "asplatline", "bb1t", "bb2t", "bb4t", "bb5t", "bb6t", "bbwall_shadow", "bld_s1",
     "bld_s2", "bld_s4", "bld_s5", "bld_s6", "blk2mud", "bridge1", "bridge2", "bsk_sdw", "clf_on", "clif_on_line",
     "cliff", "cliff_brush", "cliff_ccik", "cliff1_brush", "dec1-1", "dec1-2", "dec1-3", "deco1-3", "deco1-4",
     "deco2-1", "deco2-2", "deco2-3", "deco2-4", "foun_st", "gate1_s", "gate1_s1", "gate2_s", "gate2_s1",
     "grnd_brush", "grndii", "ground1", "lava_1", "lava_2", "manhall", "nboardst", "pipes_shadow", "ploasis1",
     "pole_shadow", "shinjon_shadow", "shurtle_shadow", "siren_shadow", "sprtle", "stair_1", "stone1", "stone2",
     "stontower_shadow", "suncol_shadow", "tower_s", "tree_shadow1", "tree_shadow2", "wall_shadow", "water",
     "wndpwer_shadow", "wood_shadows1", "wtr_clif", "prisonbt", "stbk1t", "stbk2t", "stbkt", "ugatest",
     "greenback"},
    {"2s_gline", "2st_stone", "bridge1", "bridge2", "clf_on", "clif_on_line", "cliff", "cliff_brush", "cliff_ccik",
     "cliff1_brush", "dec1-1", "dec1-2", "dec1-3", "deco1-3", "deco1-4", "deco2-1", "deco2-2", "deco2-3", "deco2-4",
     "grndii", "harbor", "lava_1", "lava_2", "magm01..magm07", "stair_1", "stone1", "stone2", "stontower_shadow",
     "tree_shadow1", "tree_shadow2", "wndpwer_shadow", "wood_shadows1"},
    {"blk2mud", "bridge1", "clf_on", "clif_on_line", "cliff", "cliff_brush", "cliff_ccik", "cliff1_brush", "dec1-1",
     "dec1-2", "dec1-3", "deco1-3", "deco1-4", "deco2-1", "deco2-2", "deco2-3", "deco2-4", "dragon_skelton",
     "dragon_skelton2", "grnd_brush", "grndii", "ground1", "headstone_t1", "hill_l", "hill_l2", "hill_le",
     "hill_le2", "hill_le3", "hill_r", "hill_r2", "hill_re", "hill_re2", "hill_re3", "lava_1", "lava_2", "ploasis1",
     "shinjon_shadow", "shurtle_shadow", "stair_1", "stone1", "stone2", "stontower_shadow", "suncol_shadow",
     "tree_shadow1", "tree_shadow2", "water", "wood_shadows1"},
    {"bbwall_shadow", "blk2mud", "bridge1", "cliff", "cliff1_brush", "dec1-1", "dec1-2", "dec1-3", "deco1-3",
     "deco1-4", "deco2-1", "deco2-2", "deco2-2", "deco2-3", "deco2-4", "grndii", "ground1", "lava_1", "lava_2",
     "pipes_shadow", "stone1", "stone2", "suncol_shadow", "tree_shadow1", "tree_shadow2", "wood_shadows1"},
    {"2brtdge", "2dark_line", "2grass1", "2grass2", "2grass3", "2st_stone", "2s_gline", "cliff1_brush", "dec1-1",
     "dec1-2", "dec1-3", "deco1-3", "deco1-4", "deco2-1", "deco2-2", "deco2-3", "deco2-4", "grass1", "grndii", "lake",
     "plant1", "shadow_build10", "shadow_build11", "shadow_build9", "shadow_dool", "shadow_factory1",
     "shadow_factory2", "shinjon_shadow", "tree_shadow1", "tree_shadow2", "water", "wtrfall", "yaja_shadow",
     "greentile"},
    {"desert", "oasis", "oiledg_t", "oilin_t", "ploasis1", "pumpst1", "pumpst2", "pumpst3", "suninb2e", "suninst",
     "water", "well_st"},
    {"bong1..bong8", "dpcliff", "dpcliff1", "eagloo_t", "eagloo1t", "icbridge", "icehom", "icepan", "icepan1",
     "s_tile", "sbox", "sca1_t", "sca2_t", "scliff1..scliff4", "=scret1_t", "=scret2_t", "=scret3_t", "=scret4_t",
     "snhildt", "snhilot", "snhomet", "snwgrss", "spipe", "sstone", "study_t"},
};

const List kObjects[kStageTableCount] = {
    {"arrow1..arrow6", "bld1", "bld2", "bld4", "bld5", "bld6", "foun", "fun01..fun13", "gate1", "gate2", "pipe1",
     "pipe2", "pipe3", "post1..post5", "pp1", "pp2", "pp3", "pst1..pst5", "ship1", "siren", "stntower1", "tower1",
     "tree1..tree6", "wall1", "wall1-1", "wall1-2", "wall2", "wall2-1", "wall2-2", "well", "wndpwer1..wndpwer4",
     "wood1", "wood2", "wood3", "bisuck", "nboard1", "nboard2", "nboard3", "prisonfb", "prisonfo", "ugate01",
     "ugate02", "vending1"},
    {"bwall1", "bwall2", "bwall3", "ship", "stntower1", "tree1..tree6", "wndpwer1..wndpwer4", "wood1", "wood2",
     "wood3", "ytree1..ytree4"},
    {"hdstn-1..hdstn-5", "shinjun", "shurtle1", "stnpost1", "stntower1", "suncol1", "suncol2", "tree1..tree6",
     "wood1", "wood2", "wood3"},
    {"bbwall1", "bbwall2", "bbwall3", "bwall1", "bwall2", "bwall3", "pipe2", "pipe3", "pp1", "pp2", "pp3",
     "pst1..pst5", "suncol1", "suncol2", "tree1..tree6", "wood1", "wood2", "wood3"},
    {"2bri_o1", "2bri_o2", "buidling11", "build10", "build9", "doll1", "doll2", "factry1", "factry2",
     "plant1..plant6", "pyramyd", "ship", "tree1..tree6", "yaja1", "yaja2", "yaja3-1", "yaja4", "newvending"},
    {"6well", "oilpump1", "oilpump2", "oilpump3", "pwall1..pwall8", "ship", "sunin1..sunin4", "suninb1",
     "suninb2"},
    {"eagloo", "eagloo1", "sca1", "sca2", "scret1..scret4", "ship", "shov1", "shov2", "study"},
};

// The digits that end s, as [start, end).
size_t NumberStart(std::string_view s)
{
    size_t i = s.size();
    while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1])))
        --i;
    return i;
}

void Expand(const List& list, const char* extension, std::vector<std::string>& out)
{
    for (std::string_view name : list) {
        const char* ext = extension;
        if (!name.empty() && name[0] == '=') {
            name.remove_prefix(1);
            ext = "";
        }
        const size_t dots = name.find("..");
        if (dots == std::string_view::npos) {
            out.push_back("data\\" + std::string(name) + ext);
            continue;
        }
        const std::string_view first = name.substr(0, dots), last = name.substr(dots + 2);
        const size_t at = NumberStart(first);
        const std::string base(first.substr(0, at));
        const int width = static_cast<int>(first.size() - at);
        const int from = std::atoi(std::string(first.substr(at)).c_str());
        const int to = std::atoi(std::string(last.substr(NumberStart(last))).c_str());
        for (int n = from; n <= to; ++n) {
            char number[16];
            std::snprintf(number, sizeof number, "%0*d", width, n);
            out.push_back("data\\" + base + number + ext);
        }
    }
}

}  // namespace

std::vector<std::string> StageTileFiles(int stage)
{
    std::vector<std::string> out;
    if (stage >= 0 && stage < kStageTableCount)
        Expand(kTiles[stage], ".tle", out);
    return out;
}

std::vector<std::string> StageObjectFiles(int stage)
{
    std::vector<std::string> out;
    if (stage >= 0 && stage < kStageTableCount)
        Expand(kObjects[stage], ".obr", out);
    return out;
}
