#pragma once

// The main window's side of ToolHost: the document, the catalogue, the
// dialogs and their parent window, the design view, the drop view panel and
// the prompt session, and nothing else.

#include "DesignView.h"
#include "DropViewPanel.h"
#include "PromptSession.h"
#include "ToolHost.h"

namespace pipeloop
{

class WindowToolHost : public ToolHost
{
public:
    WindowToolHost(Document& document, const catalogue::TPartsDatabase& catalogue,
                   AppDialogs& dialogs, QWidget* window, DesignView& view, DropViewPanel& dropView,
                   PromptSession& prompt)
        : m_document(document), m_catalogue(catalogue), m_dialogs(dialogs), m_window(window),
          m_view(view), m_dropView(dropView), m_prompt(prompt)
    {
    }

    Document& document() override { return m_document; }
    AppDialogs& dialogs() override { return m_dialogs; }
    QWidget* dialogParent() const override { return m_window; }
    const catalogue::TPartsDatabase& catalogue() const override { return m_catalogue; }
    ViewKind currentView() const override { return m_view.currentView(); }
    void showPlan() override { m_view.setView(ViewKind::Plan); }
    Position snapToGrid(const Position& at) const override { return m_view.snapped(at); }
    int32_t selectionTolerance() const override { return m_view.selectionTolerance(); }
    void showPrompt(const PromptText& prompt) override { m_prompt.show(prompt); }
    void closePrompt() override { m_prompt.close(); }
    void setHint(const QString& hint) override { m_view.setHint(hint); }
    bool highlightElbows() const override { return m_view.highlightElbows(); }
    void setHighlightElbows(bool on) override { m_view.setHighlightElbows(on); }
    void hideDropView() override { m_dropView.hideForGood(); }

private:
    Document& m_document;
    const catalogue::TPartsDatabase& m_catalogue;
    AppDialogs& m_dialogs;
    QWidget* m_window;
    DesignView& m_view;
    DropViewPanel& m_dropView;
    PromptSession& m_prompt;
};

} // namespace pipeloop
