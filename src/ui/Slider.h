#pragma once
#include <cstdint>
#include <vector>

#include "shared/Graphics/Bitmap.h"
#include "ui/ControlSite.h"
#include "ui/Pane.h"
#include "ui/RangeControl.h"

namespace Corvell {

// A pane that shows a value in a range and lets the user drag it, step it
// with the arrow keys (the image sliders) or put it back to its default
// with a Control-click.
//
// A drag lasts from a left press without Control to the next left release,
// or until the capture is lost, the slider is hidden, disabled or closed;
// whichever way it ends, a bound site hears one EndEdit for its BeginEdit
// and the listeners one End for their Begin. A Control-click (Control held
// at the release) is a gesture of its own: BeginEdit, SetValue(default),
// EndEdit, then Begin, Changed, End.
//
// Bound to a site (SetAdapter, then Create or Bind), the slider sends the
// user's values there and never moves itself: its value follows the site
// through Refresh. Unbound, it keeps its own value.
//
// Listeners may delete the slider from any notification. The geometry
// (which axis, how far the pointer must travel) and the painting belong to
// the subclasses; Slider itself paints nothing and moves nothing.
class Slider : public Pane, public RangeControl {
public:
    // The grab position while no drag is in progress.
    static constexpr int32_t kNoGrab = INT32_MIN;
    // The thumb size the mapping uses when there is no usable thumb image.
    static constexpr int32_t kDefaultThumbSize = 5;

    Slider();
    ~Slider() override;

    // ---- Pane ----
    // As for a pane, then Bind.
    void Create(Pane* parent, const Rect& bounds) override;
    void OnDestroy() override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void OnMouseEvent(MouseEvent& e) override;

    // ---- RangeControl ----
    int32_t GetValue() const override { return m_value; }
    void SetValue(int32_t value) override;
    // Keeps the value at the same place in the new range; a range given
    // the wrong way round is taken with its ends swapped.
    void SetRange(int32_t minimum, int32_t maximum) override;
    void SetDefault(int32_t value) override { m_default = value; }
    void AddListener(RangeControlListener* l) override;
    void RemoveListener(RangeControlListener* l) override;

    // ---- added by the slider, in slot order ----
    // Takes the site's value when it differs from the slider's.
    virtual void Refresh();
    // The pointer's coordinate along the slider's axis.
    virtual int32_t AxisCoordinate(Point p) const;
    // The value for a pointer at this axis coordinate during a drag,
    // clamped; the value itself when no drag is in progress.
    virtual int32_t ValueAt(int32_t coordinate) const;
    // Takes range, default and value from the site.
    virtual void Bind();
    // How far the pointer travels to cross the whole range; at 0 or less
    // a drag leaves the value where it was grabbed.
    virtual int32_t DragSpan() const;

    // ---- state ----
    int32_t GetMinimum() const { return m_min; }
    int32_t GetMaximum() const { return m_max; }
    int32_t GetDefault() const { return m_default; }
    bool IsDragging() const { return m_dragging; }
    int32_t GetGrabPosition() const { return m_grab; }
    int32_t GetValueAtGrab() const { return m_valueAtGrab; }
    RangeControlListener* GetListener() const { return m_listener.Get(); }

    // The site is not owned. A drag in progress is ended first; the new
    // site's values arrive with Bind (Create calls it).
    void SetAdapter(ControlSite* site, int32_t id);
    ControlSite* GetAdapter() const { return m_site; }
    int32_t GetAdapterId() const { return m_siteId; }

    Bitmap* GetThumbImage() const { return m_thumb.Get(); }
    Bitmap* GetTrackImage() const { return m_track.Get(); }
    int32_t GetThumbFrames() const { return m_thumbFrames; }
    // Whether the thumb image can be drawn (one frame at least a pixel wide).
    bool HasThumb() const;
    bool HasTrack() const;
    // One frame of the thumb image; kDefaultThumbSize without a usable thumb.
    int32_t ThumbFrameWidth() const;
    int32_t ThumbHeight() const;

protected:
    // A piece of a track image tiled along one axis.
    struct TrackPiece {
        int32_t at;     // where it goes along the slider
        int32_t from;   // where it comes from along the image
        int32_t length;
    };
    // Covers `extent` pixels with an image `image` pixels long: once when
    // they are equal; halves of the image's two ends when it is longer;
    // otherwise its first third, its middle third repeated, and its last
    // part ending at the far edge. Every piece is at least a pixel long.
    static void TrackPieces(int32_t extent, int32_t image, std::vector<TrackPiece>& out);

    // frames below 1 count as 1.
    void SetThumbImage(Ref<Bitmap> image, int32_t frames);
    void SetTrackImage(Ref<Bitmap> image) { m_track = std::move(image); }
    // The image of that name, or the fallback with one frame when it is
    // missing or too narrow for its frames.
    void LoadThumb(const char* name, int32_t frames, const char* fallback);

    // The frame to show: the second while dragging, when there is one.
    int32_t ThumbFrameIndex() const;
    // Where the value sits along `span` pixels: 0 at the minimum, span at
    // the maximum, span / 2 when the range is empty.
    int32_t OffsetOf(int32_t value, int32_t span) const;
    // The value `travel` pixels along the axis from the grab, clamped.
    int32_t ValueFromTravel(int64_t travel) const;
    int32_t Clamp(int64_t value) const;

    // A step of the arrow keys: clamped, sent like a drag, then Changed
    // (also when the value is already at the bound).
    void StepBy(int32_t delta);

private:
    void BeginDrag(const MouseEvent& e);
    void DragTo(const MouseEvent& e);
    void Release(const MouseEvent& e);
    // Closes an open drag: EndEdit, End. False when the slider is gone.
    bool EndDrag();
    void ResetToDefault();
    // A value the user chose: to the site, or kept here. False when the
    // slider is gone.
    bool Apply(int32_t value);
    // Every listener, first-added first; false when the slider is gone.
    bool Notify(void (RangeControlListener::*fn)(RangeControl*));

    int32_t m_value = 0;
    int32_t m_min = 0;
    int32_t m_max = 0;
    int32_t m_default = 0;
    int32_t m_valueAtGrab = 0;
    int32_t m_grab = kNoGrab;
    bool m_dragging = false;
    Ref<RangeControlListener> m_listener;
    Ref<Bitmap> m_thumb;
    Ref<Bitmap> m_track;
    int32_t m_thumbFrames = 1;
    ControlSite* m_site = nullptr;
    int32_t m_siteId = 0;
    // The site that heard the open drag's BeginEdit.
    ControlSite* m_editSite = nullptr;
    int32_t m_editId = 0;
};

} // namespace Corvell
