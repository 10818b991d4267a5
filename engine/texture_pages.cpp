// Texture pages: many small pictures in one texture, so that the sprites of one pass share a texture and
// the render layer can draw them as one batch.
//
// Each picture sits on the page with a border of kPageBorder texels that repeats its opposite edges, as
// the wrap addressing of a texture of its own would: filtering at its edges reads what it read before.
// Pictures and their borders take cells of multiples of kPageAlign texels, so every picture starts on an
// even texel and the page's second mipmap level holds each picture's own second level (its box filter
// never mixes two pictures).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/file_registry.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "engine/texture_decode.h"

namespace {

constexpr int kPageSide = 1024;   // widest and tallest page
constexpr int kPageBorder = 2;    // repeated texels around each picture (two mipmap levels need 2)
constexpr int kPageAlign = 4;     // cells of pictures and borders are multiples of this
constexpr int kPageMipLevels = 2; // as every picture that getTexture makes
constexpr int kMaxDecodeThreads = 4;

// One picture on its way to a page.
struct PagePicture {
    char listedName[kMaxTextureName + 1] = {}; // the name getTexture lists it by
    const uint8_t* file = nullptr;             // the registered bytes
    int jpegBytes = 0;                         // bytes to decode
    const uint8_t* alpha = nullptr;            // the alpha plane of a JPEG with alpha, else null
    int alphaBytes = 0;
    bool alphaJpeg = false; // the file is released once decoded, as loadAlphaJpeg does
    bool hasAlpha = false;
    DecodedPicture picture;
    bool decoded = false;
    int x = 0, y = 0, page = -1; // where it went
};

bool isTgaName(const char* name) {
    return std::strstr(name, ".tga") || std::strstr(name, ".TGA");
}

// Finds the file getTexture would read for a name; false when there is none or the picture is listed.
bool locate(const char* name, PagePicture& p) {
    if (std::strlen(name) > kMaxTextureName || findTexture(name)) return false;
    if (isTgaName(name)) {
        char jpegName[kMaxTextureName + 8];
        alphaJpegName(name, jpegName, sizeof jpegName);
        if (findTexture(jpegName)) return false;
        int size = 0;
        if (std::strlen(jpegName) <= kMaxTextureName) {
            if (const uint8_t* data = openFile(jpegName, &size, false)) {
                std::snprintf(p.listedName, sizeof p.listedName, "%s", jpegName);
                p.file = data;
                splitAlphaJpeg(data, size, p.jpegBytes, p.alpha, p.alphaBytes);
                p.alphaJpeg = true;
                p.hasAlpha = true;
                return true;
            }
        }
    }
    int size = 0;
    const uint8_t* data = openFile(name, &size, false);
    if (!data) return false;
    std::snprintf(p.listedName, sizeof p.listedName, "%s", name);
    p.file = data;
    p.jpegBytes = size;
    p.hasAlpha = isTgaName(name);
    return true;
}

// Decoding touches nothing but the picture's own bytes, so pictures decode on several threads at once.
void decodeAll(std::vector<PagePicture>& pictures) {
    auto decodeOne = [](PagePicture& p) {
        p.decoded = decodePicture(p.file, p.jpegBytes, p.picture) &&
                    (!p.alphaJpeg || applyAlphaPlane(p.alpha, p.alphaBytes, p.picture));
    };
    int count = static_cast<int>(pictures.size());
    int threads =
        std::min<int>({kMaxDecodeThreads, static_cast<int>(std::thread::hardware_concurrency()), count / 4});
    if (threads <= 1) {
        for (PagePicture& p : pictures) decodeOne(p);
        return;
    }
    std::vector<std::thread> workers;
    for (int w = 0; w < threads; w++) {
        workers.emplace_back([&pictures, &decodeOne, w, threads, count] {
            for (int i = w; i < count; i += threads) decodeOne(pictures[i]);
        });
    }
    for (std::thread& t : workers) t.join();
}

int alignUp(int v) {
    return (v + kPageAlign - 1) / kPageAlign * kPageAlign;
}

// Shelves of pictures, tallest first (the caller sorts), on pages of the given width; returns the page
// count and the height each page needs.
int placeAll(std::vector<PagePicture*>& order, int pageWidth, std::vector<int>& pageHeights) {
    pageHeights.clear();
    int page = -1, shelfX = pageWidth, shelfY = 0, shelfHeight = 0;
    for (PagePicture* p : order) {
        int w = alignUp(p->picture.width + 2 * kPageBorder), h = alignUp(p->picture.height + 2 * kPageBorder);
        if (w > pageWidth) return 0;
        if (shelfX + w > pageWidth) { // a new shelf
            shelfY += shelfHeight;
            shelfX = 0;
            shelfHeight = h;
            if (page < 0 || shelfY + h > kPageSide) {
                page++;
                pageHeights.push_back(0);
                shelfY = 0;
            }
        }
        p->page = page;
        p->x = shelfX + kPageBorder;
        p->y = shelfY + kPageBorder;
        shelfX += w;
        pageHeights[page] = std::max(pageHeights[page], shelfY + h);
    }
    return page + 1;
}

// The picture and its repeated border into the page's texels.
void copyWithBorder(const PagePicture& p, int pageWidth, std::vector<uint8_t>& texels) {
    const DecodedPicture& pic = p.picture;
    for (int row = -kPageBorder; row < pic.height + kPageBorder; row++) {
        int sourceRow = (row + pic.height) % pic.height;
        uint8_t* out = &texels[(static_cast<size_t>(p.y + row) * pageWidth + p.x - kPageBorder) * 4];
        for (int column = -kPageBorder; column < pic.width + kPageBorder; column++) {
            int sourceColumn = (column + pic.width) % pic.width;
            std::memcpy(out, &pic.rgba[(static_cast<size_t>(sourceRow) * pic.width + sourceColumn) * 4], 4);
            out += 4;
        }
    }
}

} // namespace

int loadTexturePages(const char* const* names, int count) {
    std::vector<PagePicture> pictures;
    pictures.reserve(count);
    for (int i = 0; i < count; i++) {
        PagePicture p;
        bool twice = false; // two names may lead to one file (ball.tga and _a_ball.jpg)
        if (locate(names[i], p)) {
            for (const PagePicture& q : pictures)
                twice = twice || std::strcmp(q.listedName, p.listedName) == 0;
            if (!twice) pictures.push_back(p);
        }
    }
    decodeAll(pictures);
    std::vector<PagePicture*> order;
    for (PagePicture& p : pictures) {
        bool fits = p.decoded && alignUp(p.picture.width + 2 * kPageBorder) <= kPageSide &&
                    alignUp(p.picture.height + 2 * kPageBorder) <= kPageSide;
        if (fits) order.push_back(&p);
    }
    std::stable_sort(order.begin(), order.end(), [](const PagePicture* a, const PagePicture* b) {
        return a->picture.height > b->picture.height;
    });
    // The narrowest page width that holds everything on the fewest pages with the fewest texels.
    std::vector<int> pageHeights;
    int bestWidth = kPageSide, bestPages = 0;
    long long bestTexels = 0;
    for (int width = kPageSide / 4; width <= kPageSide && !order.empty(); width *= 2) {
        int pages = placeAll(order, width, pageHeights);
        if (pages == 0) continue;
        long long texels = 0;
        for (int h : pageHeights) texels += static_cast<long long>(width) * h;
        if (bestPages == 0 || pages < bestPages || (pages == bestPages && texels < bestTexels)) {
            bestWidth = width;
            bestPages = pages;
            bestTexels = texels;
        }
    }
    int pages = bestPages > 0 ? placeAll(order, bestWidth, pageHeights) : 0;
    int made = 0;
    for (int page = 0; page < pages; page++) {
        int width = bestWidth, height = pageHeights[page]; // a multiple of kPageAlign: level 1 halves it
        std::vector<uint8_t> texels(static_cast<size_t>(width) * height * 4, 0);
        for (const PagePicture* p : order) {
            if (p->page == page) copyWithBorder(*p, width, texels);
        }
        char pageName[32];
        std::snprintf(pageName, sizeof pageName, "<texture page %i>", textures.list.size());
        uint32_t handle =
            render.backend ? render.backend->createTexture(width, height, kPageMipLevels, texels.data()) : 0;
        if (render.backend && !handle) continue; // its pictures are loaded one by one below
        Texture* pageRecord = createTextureRecord(pageName, width, height, handle, false, kFormatA8R8G8B8);
        if (!pageRecord) {
            if (handle) render.backend->releaseTexture(handle);
            continue;
        }
        made++;
        for (PagePicture* p : order) {
            if (p->page != page) continue;
            Texture* t = createTextureRecord(p->listedName, p->picture.width, p->picture.height, handle,
                                             p->hasAlpha, p->alphaJpeg ? kFormatA8R8G8B8 : kFormatUnknown);
            if (!t) continue;
            t->packed = true;
            t->ownsHandle = false;
            t->pageLeft = static_cast<float>(p->x) / width;
            t->pageTop = static_cast<float>(p->y) / height;
            t->pageRight = static_cast<float>(p->x + p->picture.width) / width;
            t->pageBottom = static_cast<float>(p->y + p->picture.height) / height;
        }
    }
    // As loadAlphaJpeg does, the file of a JPEG with alpha is released once its picture is on a page; a
    // TGA or plain JPEG file stays registered, as getTexture leaves it. The decoded texels go with the
    // vector.
    for (PagePicture& p : pictures) {
        if (p.alphaJpeg && p.page >= 0 && findTexture(p.listedName)) releaseFile(p.file);
    }
    return made;
}
