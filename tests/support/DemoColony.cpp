// The colony's messages.
#include "support/DemoArea.h"
#include "support/DemoServer.h"

namespace {

class CDemoColony : public CDemoArea {
public:
    using CDemoArea::CDemoArea;
    bool Handle(const uint8_t*, size_t) override { return false; }
};

}  // namespace

std::unique_ptr<CDemoArea> MakeDemoColony(CDemoServer& server)
{
    return std::make_unique<CDemoColony>(server);
}
