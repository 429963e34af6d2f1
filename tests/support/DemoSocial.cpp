// Chat lines, whispers, the group and the ranking pages.
#include "support/DemoArea.h"
#include "support/DemoServer.h"

namespace {

class CDemoSocial : public CDemoArea {
public:
    using CDemoArea::CDemoArea;
    bool Handle(const uint8_t*, size_t) override { return false; }
};

}  // namespace

std::unique_ptr<CDemoArea> MakeDemoSocial(CDemoServer& server)
{
    return std::make_unique<CDemoSocial>(server);
}
