#pragma once
// A page that keeps a log instead of ink: every run of text drawn on it (with its baseline
// position and whether its font is bold), every NextPage and every ClearRect, in call order.
// Its device reports 72 dots per inch, so layout units are points as on a PDF page.

#include "framework/Graphics.hpp"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QString>
#include <QTextItem>

#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

struct PageEvent {
    enum Kind { Text, NextPage, ClearRect } kind;
    QString text;
    QPointF at;  // baseline start of a text run
    bool bold = false;
    QRect rect;
};

class RecordingEngine final : public QPaintEngine {
public:
    explicit RecordingEngine(std::vector<PageEvent>& log) : QPaintEngine(QPaintEngine::AllFeatures), log_(log) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        log_.push_back({PageEvent::Text, item.text(), painter()->transform().map(p), item.font().bold(), {}});
    }
    Type type() const override { return QPaintEngine::User; }

private:
    std::vector<PageEvent>& log_;
};

class RecordingDevice final : public QPaintDevice {
public:
    RecordingDevice(int width, int height, std::vector<PageEvent>& log)
        : width_(width), height_(height), engine_(log) {}
    ~RecordingDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth: return width_;
        case PdmHeight: return height_;
        case PdmWidthMM: return width_ * 254 / 720;
        case PdmHeightMM: return height_ * 254 / 720;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 72;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return QPaintDevice::metric(metric);
        }
    }

private:
    int width_, height_;
    mutable RecordingEngine engine_;
};

class RecordingGraphics final : public fw::Graphics {
public:
    RecordingGraphics(std::int32_t width, std::int32_t height, std::int32_t copies = 1, std::int32_t firstPage = 1,
                      std::int32_t lastPage = INT32_MAX)
        : width_(width),
          height_(height),
          copies_(copies),
          firstPage_(firstPage),
          lastPage_(lastPage),
          device_(width, height, log) {
        painter_.begin(&device_);
    }
    ~RecordingGraphics() override { painter_.end(); }

    std::int32_t Copies() const override { return copies_; }
    std::int32_t FirstPage() const override { return firstPage_; }
    std::int32_t LastPage() const override { return lastPage_; }
    std::int32_t Width() const override { return width_; }
    std::int32_t Height() const override { return height_; }
    void NextPage() override { log.push_back({PageEvent::NextPage, {}, {}, false, {}}); }
    void ClearRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override {
        log.push_back({PageEvent::ClearRect, {}, {}, false, QRect(x, y, width, height)});
    }
    QPainter* painter() override { return &painter_; }

    std::vector<PageEvent> log;

private:
    std::int32_t width_, height_, copies_, firstPage_, lastPage_;
    RecordingDevice device_;
    QPainter painter_;
};
