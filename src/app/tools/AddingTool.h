#pragma once

// The common course of the adding tools. Each asks in the prompt box for one
// location after another until it has what it needs, or starts from a point
// already known (an "Add" item of the drawing's pop-up menu acts where the
// menu was opened, once, without a prompt), and then asks its dialogs. Every
// location reaches the tool snapped to the grid; where the object really
// stands, and whether it may, is the editing layer's answer (Additions.h),
// so that the tools and pipeloop-cli place and refuse alike.

#include "Tool.h"
#include "ToolHost.h"
#include "Units.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace pipeloop
{

class Document;
class TPipeLoop;

class AddingTool : public Tool
{
public:
    void start(ToolHost& host) final;
    void click(const ToolPoint& point) final;
    // Escape cancels, as the prompt's button does.
    bool key(int key) override;
    // Done, Cancel and Close all end the tool; what was added stays.
    void end(Ending how) override;

protected:
    explicit AddingTool(std::optional<ToolPoint> known = {}) : m_known(known) {}

    // What the prompt box asks for the next location. objects names what a
    // tool places several of, one per click ("drops"): the box then offers
    // Done; without, it offers Cancel only.
    struct Request {
        QString title;
        QString message;
        QString objects;
    };

    // Before the first location; false ends the tool at once. Drops the
    // selection, as every location prompt does.
    virtual bool begin();
    // The request for the next location; taken locations were given so far.
    virtual Request request(int taken) const = 0;
    // A location, snapped to the grid. True asks for another one.
    virtual bool located(const Position& at) = 0;
    // Runs however the tool ends.
    virtual void leaving() {}

    ToolHost& host() const { return *m_host; }
    Document& document() const;
    TPipeLoop& design() const;
    DisplayUnits units() const;

    // The size entry over the catalogue's pipe sizes, starting at size;
    // nothing on Cancel.
    std::optional<float> enterSize(const QString& title, const QString& prompt, float size) const;
    // The length entry in the design's units, starting at millimetres;
    // nothing on Cancel.
    std::optional<int32_t> enterLength(const QString& title, const QString& prompt,
                                       int32_t millimetres) const;

private:
    void ask();
    void stop();

    ToolHost* m_host = nullptr;
    std::optional<ToolPoint> m_known;
    int m_taken = 0;
};

} // namespace pipeloop
