#pragma once

// TColorZELKDiag: the program's colour chooser. It opens fully expanded with
// the caller's title, offers a help button when given a topic, stands
// horizontally centred on the active screen a third of the way down, and
// keeps the user's 16 custom colours in the settings as "ColorA" ... "ColorP"
// (six hexadecimal digits of the Windows colour value, 0x00BBGGRR; a missing
// entry is a custom colour never set).

#include <QColorDialog>
#include <QString>

#include <array>
#include <optional>

namespace pipeloop
{

class SettingsStore;

// The custom colours as the settings hold them; nothing for one never set.
using CustomColours = std::array<std::optional<QColor>, 16>;
CustomColours ReadCustomColours(const SettingsStore& settings);
void WriteCustomColours(SettingsStore& settings, const CustomColours& colours);

class TColorZELKDiag : public QColorDialog
{
    Q_OBJECT
public:
    // The chooser's custom colours are taken from settings now and written
    // back whenever it closes.
    TColorZELKDiag(const QColor& initial, const QString& title, const QString& helpTopic,
                   SettingsStore& settings, QWidget* parent = nullptr);

    // Modal: the colour confirmed, or nothing on Cancel. A failure inside goes
    // to the common error report and gives nothing.
    static std::optional<QColor> Choose(QWidget* parent, const QColor& initial,
                                        const QString& title, const QString& helpTopic,
                                        SettingsStore& settings);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addHelpButton(const QString& topic);
    void placeOnScreen();

    SettingsStore& m_settings;
    // The custom colours as the chooser started, to tell a set one from a blank.
    CustomColours m_loaded;
};

} // namespace pipeloop
