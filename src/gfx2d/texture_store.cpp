#include "gfx2d/texture_store.h"

namespace vexel {

namespace {

std::unique_ptr<TextureStore> g_store;

}  // namespace

TextureStore::TextureStore() : slots_(kSpriteSlotCount), alpha_masks_(kSpriteSlotCount) {}

SpriteSlot* TextureStore::slot(int32_t n) {
    return n >= 0 && n < kSpriteSlotCount ? &slots_[n] : nullptr;
}

BackgroundSlot* TextureStore::background(int32_t n) {
    return n >= 0 && n < kBackgroundCount ? &backgrounds_[n] : nullptr;
}

std::vector<uint8_t>& TextureStore::alpha_mask(int32_t n) {
    if (n < 0 || n >= kSpriteSlotCount) {
        no_mask_.clear();
        return no_mask_;
    }
    return alpha_masks_[n];
}

void TextureStore::release_alpha_mask(int32_t n) {
    if (n >= 0 && n < kSpriteSlotCount) std::vector<uint8_t>().swap(alpha_masks_[n]);
}

TextureStore& texture_store() {
    if (!g_store) g_store = std::make_unique<TextureStore>();
    return *g_store;
}

void delete_texture_store() {
    g_store.reset();
}

}  // namespace vexel
