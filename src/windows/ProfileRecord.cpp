#include "windows/ProfileRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Debug.h"
#include "platform/Process.h"
#include "rules/CalcData.h"
#include "ui/TextCut.h"
#include "windows/PlayerInfo.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

ProfileRecord g_profileRecord;

namespace {

// A damaged file may be of any size; the three lines are at its start.
constexpr size_t kReadLimit = 64 * 1024;

// At most size - 1 bytes of text, cut on a character boundary.
void CopyField(char* dst, size_t size, const char* src)
{
    std::memset(dst, 0, size);
    CopyTextCut(dst, size, src ? src : "");
}

uint8_t PortraitOf(int32_t cls)
{
    // Outside 0..255 no portrait fits: 255 draws none.
    return static_cast<uint8_t>(cls < 0 || cls > 255 ? 255 : cls);
}

uint8_t PortraitOf(const CharacterRecord& rec) { return PortraitOf(rec.I32(CharacterRecord::kClass)); }

bool ReadFile(const std::string& path, std::string& out)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    out.resize(kReadLimit);
    out.resize(std::fread(out.data(), 1, out.size(), f));
    std::fclose(f);
    return true;
}

}  // namespace

std::string ProfileSavPath()
{
    return plat::DataDir() + "/" + ProfileRecord::kFileName;
}

void ProfileRecord::ParseLines(const uint8_t* data, size_t size)
{
    size_t at = 0;
    for (auto& line : lines) {
        std::memset(line, 0, kLineSize);
        const size_t start = at;
        while (at < size && data[at] != '\n')
            ++at;
        size_t end = at;
        if (at < size)
            ++at;  // the line feed
        if (end > start && data[end - 1] == '\r')
            --end;
        // Up to a NUL within the line, as the text field would hold it.
        const auto* nul = static_cast<const uint8_t*>(std::memchr(data + start, 0, end - start));
        if (nul)
            end = static_cast<size_t>(nul - data);
        // Whole characters only: a lead byte of 128 or more takes the next.
        size_t kept = 0;
        while (start + kept < end) {
            const size_t width = data[start + kept] >= 0x80 ? 2 : 1;
            if (kept + width > kLineKept || start + kept + width > end)
                break;
            kept += width;
        }
        std::memcpy(line, data + start, kept);
    }
}

std::string ProfileRecord::FormatLines() const
{
    std::string out;
    for (const auto& line : lines) {
        out.append(line, strnlen(line, kLineSize - 1));
        out += '\n';
    }
    return out;
}

void ProfileRecord::LoadProfile()
{
    charId = g_playerInfo.GetCharId();
    portrait = PortraitOf(g_playerInfo.GetClass());
    std::memset(year, 0, sizeof year);
    if (const CharacterRecord* rec = g_playerInfo.GetMyRecord())
        std::snprintf(year, sizeof year, "%d", GetGameYear(*rec));
    char buf[CharacterRecord::kSize] = {};
    g_playerInfo.GetCharName(buf, sizeof buf);
    CopyField(name, sizeof name, buf);
    g_playerInfo.GetProfileText(buf, sizeof buf);
    CopyField(text, sizeof text, buf);

    // The per-user file; else one left in the working directory, which is
    // only read.
    std::string bytes;
    if (!ReadFile(ProfileSavPath(), bytes) && !ReadFile(kFileName, bytes))
        bytes.clear();
    ParseLines(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void ProfileRecord::FillProfileFromCharacter(uint32_t id)
{
    charId = id;
    std::memset(year, 0, sizeof year);
    std::memset(text, 0, sizeof text);
    CObjLayer* layer = GetObjLayer();
    if (CCharacter* c = layer ? layer->FindCharacterById(static_cast<int>(id)) : nullptr) {
        const CharacterRecord& rec = c->GetCharRecord();
        portrait = PortraitOf(rec);
        CopyField(name, sizeof name, rec.Name().c_str());
    } else {
        // Not the last one's name under this id: a whisper would reach them.
        portrait = 255;
        std::memset(name, 0, sizeof name);
    }
}

bool ProfileRecord::SaveProfile() const
{
    if (charId != g_playerInfo.GetCharId())
        return false;
    if (!plat::ReplaceFile(ProfileSavPath(), FormatLines())) {
        plat::DebugPrintf("%s could not be written\n", ProfileSavPath().c_str());
        return false;
    }
    return true;
}

void ProfileRecord::SetYear(int gameYear)
{
    std::memset(year, 0, sizeof year);
    std::snprintf(year, sizeof year, "%d", gameYear);
}
