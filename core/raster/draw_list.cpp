#include "core/raster/draw_list.h"

#include <algorithm>

namespace raster {

namespace {

bool samePaint(const Paint& a, const Paint& b) {
    return a.kind == b.kind && a.first == b.first && a.second == b.second &&
           (a.kind != Paint::Kind::Pattern || a.tile == b.tile);
}

}  // namespace

void DrawList::clear() {
    spans_.clear();
    layers_.clear();
    cycles_.clear();
    unsettled_.clear();
}

DrawList::Layer& DrawList::layerFor(const Paint& paint) {
    if (layers_.empty() || !samePaint(layers_.back().paint, paint)) {
        Layer layer;
        layer.paint = paint;
        layer.end = spans_.size();
        layers_.push_back(layer);
    }
    return layers_.back();
}

void DrawList::add(const Region& region, const Paint& paint, int dx, int dy) {
    const std::vector<Span>& spans = region.spans();
    addSpans(spans.data(), spans.data() + spans.size(), paint, dx, dy);
}

void DrawList::addSpans(const Span* first, const Span* last, const Paint& paint, int dx, int dy) {
    if (!paint.visible() || first == last) return;
    Layer& layer = layerFor(paint);
    Rect bounds = layer.bounds;
    for (const Span* s = first; s != last; ++s) {
        const Span moved{s->y + dy, s->x0 + dx, s->x1 + dx};
        spans_.push_back(moved);
        bounds = unionOf(bounds, Rect{moved.x0, moved.y, moved.x1, moved.y + 1});
    }
    layer.bounds = bounds;
    layer.end = spans_.size();
}

void DrawList::addRect(const Rect& rect, const Paint& paint) {
    if (!paint.visible() || rect.empty()) return;
    Layer& layer = layerFor(paint);
    for (int y = rect.top; y < rect.bottom; ++y) spans_.push_back(Span{y, rect.left, rect.right});
    layer.bounds = unionOf(layer.bounds, rect);
    layer.end = spans_.size();
}

void DrawList::addSpan(int y, int x0, int x1, const Paint& paint) {
    if (!paint.visible() || x0 >= x1) return;
    Layer& layer = layerFor(paint);
    spans_.push_back(Span{y, x0, x1});
    layer.bounds = unionOf(layer.bounds, Rect{x0, y, x1, y + 1});
    layer.end = spans_.size();
}

void DrawList::removeHidden() {
    if (layers_.empty()) return;
    std::vector<Region> regions(layers_.size());
    for (size_t i = 0; i < layers_.size(); ++i) {
        RegionBuilder builder;
        for (size_t s = begin(i); s < layers_[i].end; ++s) builder.add(spans_[s].y, spans_[s].x0, spans_[s].x1);
        regions[i] = builder.build();
    }
    // Every paint covers what it paints: a layer hides what earlier ones
    // painted there.
    Region above;
    for (size_t i = layers_.size(); i-- > 0;) {
        const Region own = regions[i];
        regions[i].subtract(above);
        above.unite(own);
    }
    std::vector<Span> spans;
    std::vector<Layer> layers;
    cycles_.clear();
    for (size_t i = 0; i < layers_.size(); ++i) {
        if (regions[i].empty()) continue;
        Layer layer = layers_[i];
        layer.bounds = Rect{0, 0, 0, 0};
        for (const Span& s : regions[i].spans()) {
            spans.push_back(s);
            layer.bounds = unionOf(layer.bounds, Rect{s.x0, s.y, s.x1, s.y + 1});
        }
        layer.end = spans.size();
        layer.cycles = -1;
        if (layer.paint.kind == Paint::Kind::Pattern) {
            layer.cycles = static_cast<int32_t>(cycles_.size());
            cycles_.push_back(layOutPattern(layer.paint));
        }
        layers.push_back(layer);
    }
    spans.shrink_to_fit();
    spans_ = std::move(spans);
    layers_ = std::move(layers);
    layers_.shrink_to_fit();
    cycles_.shrink_to_fit();
    unsettled_.shrink_to_fit();
}

void DrawList::paint(Image& image, int dx, int dy) const {
    for (size_t i = 0; i < layers_.size(); ++i) {
        const Layer& layer = layers_[i];
        const Rect& b = layer.bounds;
        const bool inside = b.left + dx >= 0 && b.top + dy >= 0 && b.right + dx <= image.width &&
                            b.bottom + dy <= image.height;
        const PatternRows* rows = layer.cycles >= 0 ? &cycles_[static_cast<size_t>(layer.cycles)] : nullptr;
        paintSpans(image, spans_.data() + begin(i), spans_.data() + layer.end, dx, dy, layer.paint, rows, inside);
    }
}

size_t DrawList::weight() const {
    return spans_.size() + layers_.size() + unsettled_.size() +
           cycles_.size() * sizeof(PatternRows) / sizeof(Span);
}

}  // namespace raster
