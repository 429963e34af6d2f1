// A view and an object layer without the whole client, for tests of the
// rules and of code that reaches the object layer through GetObjLayer():
// item entries by id, the own record, the battle number.
#pragma once
#include <memory>

#include "app/QuillonView.h"
#include "fixtures/ArchiveBuilder.h"
#include "platform/headless/HeadlessPlatform.h"
#include "rules/ItemData.h"
#include "world/ObjLayer.h"

class CAnimSpriteSet;
class CBGLayer;

class CTestWorld {
public:
    // The archive the view and the code under test read (the game's minimal
    // one unless given).
    explicit CTestWorld(const CArchiveBuilder& archive = CArchiveBuilder::MinimalGame());
    ~CTestWorld();
    CTestWorld(const CTestWorld&) = delete;
    CTestWorld& operator=(const CTestWorld&) = delete;

    CObjLayer& Layer() { return *m_layer; }
    // The object layer's background (no map loaded).
    CBGLayer& Ground() { return *m_ground; }
    plat::CHeadlessPlatform& Platform() { return m_platform; }
    CharacterRecord& MyRecord() { return m_layer->MyRecord(); }
    // Makes id an item entry with that record (and sprite set), padding the
    // list with empty entries below it; id must not be below the count.
    void AddItem(int id, const ItemRecord& rec, CAnimSpriteSet* set = nullptr);

private:
    plat::CHeadlessPlatform m_platform;
    CTestArchive m_archive;
    CQuillonView m_view;
    std::unique_ptr<CBGLayer> m_ground;
    std::unique_ptr<CObjLayer> m_layer;
};
