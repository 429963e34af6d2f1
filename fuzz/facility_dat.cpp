// Arbitrary "Facility.dat" bytes through the loader: it ends at the end of
// the bytes or at "END", and whatever it stored leaves the recipes and the
// built-in columns of the table as they were.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "colony/SimBuildingTable.h"
#include "core/ByteReader.h"
#include "fixtures/FacilityDatBuilder.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void WriteSeed(const std::string& dir, const std::string& name, const Bytes& bytes)
{
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        FacilityValues v;
        v.capacity = {100, 200, 300};
        v.energy = -4;
        v.cost = {500, 10, 20, 30, 0};
        v.production = {5, 1, 0, 0, -1};
        WriteSeed(dir, "end_only", CFacilityDatBuilder::EndOnly());
        WriteSeed(dir, "records", CFacilityDatBuilder().Add("EEW", v).Add("LLL", v).Add("YBL", v).Build());
        WriteSeed(dir, "bad_letter", CFacilityDatBuilder().Add("EQW", v).Add("WRB", v).Build());
        WriteSeed(dir, "no_end", CFacilityDatBuilder().Add("ERR", v).Build(false));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const CSimBuildingTable reference;
    CSimBuildingTable table;
    CByteReader r(data, size);
    const bool ok = table.ReadFacilityData(r);
    Check(r.Pos() <= size);
    Check(ok || r.Pos() == size || !r.Ok());
    for (int type = -1; type <= CSimBuildingTable::kTypes; ++type) {
        const SimBuildingType& a = table.GetType(type);
        const SimBuildingType& b = reference.GetType(type);
        Check(a.recipe == b.recipe && a.firstFrame == b.firstFrame && a.frames == b.frames &&
              a.buildTime == b.buildTime && a.rule == b.rule);
    }
    // The cursor's type is never written: no record names it.
    Check(table.GetType(0).energy == 0 && table.GetType(0).capacity[0] == 0);
    int t[3] = {4, 4, 4};
    Check(table.FindByRecipe(t) == 49);
    return 0;
}
