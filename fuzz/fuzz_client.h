// A headless client for the protocol fuzz targets: the view and an object
// layer reading packets from memory, with character kinds of the creature
// sets loaded.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "app/QuillonView.h"
#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/CreatureSet.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"

struct FuzzClient {
    plat::CHeadlessPlatform platform;
    CTestArchive archive{CArchiveBuilder::MinimalGame()};
    CQuillonView view;
    CBGLayer ground{nullptr};
    CObjLayer layer{nullptr, &ground};
    CMemoryByteSource src;

    explicit FuzzClient(std::initializer_list<const char*> kinds)
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        SetPacketSource(&src);
        CObrBuilder chr("CHR");
        for (const char* kind : kinds)
            chr.Character(kind, CObrBuilder::CharRecord(kind, 0, 0, 10, "m")).RawSet(CCreatureSet::Section(kind));
        const std::vector<uint8_t> file = chr.Build();
        CByteReader r(file.data(), file.size());
        layer.ReadObr(r);
        for (int i = 0; i < layer.GetCharSetCount(); ++i)
            layer.GetCharSet(i)->SetAnimation(kCharAnimNames, kCharAnimSlots);
    }
    // Through the dispatcher; false when the packet was not taken whole.
    bool Dispatch(const std::vector<uint8_t>& packet)
    {
        src.Append(packet);
        return DispatchAll(src, [this] { view.ReceiveDispatch(); });
    }
};
