// The effect manager with its fixed pools per kind. Minimal form: the pools
// are empty; starting an effect does nothing yet.
#pragma once

class CObjLayer;

class CEffectManager {
public:
    static constexpr int kPoolSize = 12;

    explicit CEffectManager(CObjLayer* objLayer) : m_pObjLayer(objLayer) {}
    void LoadResources() {}
    void DrawAll(unsigned char* /*target*/) {}
    void ClearAll() {}

private:
    [[maybe_unused]] CObjLayer* m_pObjLayer;
};
