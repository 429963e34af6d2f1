// The market, the NPC shops, the bank and the cabinet.
#include "support/DemoArea.h"
#include "support/DemoServer.h"

namespace {

class CDemoTrade : public CDemoArea {
public:
    using CDemoArea::CDemoArea;
    bool Handle(const uint8_t*, size_t) override { return false; }
};

}  // namespace

std::unique_ptr<CDemoArea> MakeDemoTrade(CDemoServer& server)
{
    return std::make_unique<CDemoTrade>(server);
}
