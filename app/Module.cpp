#include "app/Module.hpp"

#include "app/App.hpp"
#include "app/MenuBar1.hpp"
#include "conversion/Window1.hpp"
#include "framework/AppleMenuItem.hpp"
#include "framework/Application.hpp"
#include "framework/Canvas.hpp"
#include "framework/Delegate.hpp"
#include "framework/Exceptions.hpp"
#include "framework/FolderItem.hpp"
#include "framework/Graphics.hpp"
#include "framework/Label.hpp"
#include "framework/MenuBar.hpp"
#include "framework/MenuItem.hpp"
#include "framework/Picture.hpp"
#include "framework/PrinterSetup.hpp"
#include "framework/PushButton.hpp"
#include "framework/QuitMenuItem.hpp"
#include "framework/RectControl.hpp"
#include "framework/RoundRectangle.hpp"
#include "framework/StyledTextPrinter.hpp"
#include "framework/TextArea.hpp"
#include "framework/TextControl.hpp"
#include "framework/TextEdit.hpp"
#include "framework/TextField.hpp"
#include "framework/Window.hpp"
#include "info/AboutWindow.hpp"
#include "info/HelpWindow.hpp"

namespace radixel {

namespace {

using ClassLookup = const fw::ClassTable& (*)();

// Parents before children, so that each table finds its parent built.
constexpr ClassLookup kFrameworkClasses[] = {
    &fw::Object::Lookup,
    &fw::RuntimeException::Lookup,
    &fw::NilObjectException::Lookup,
    &fw::IllegalCastException::Lookup,
    &fw::DelegateBase::Lookup,
    &fw::Application::Lookup,
    &fw::MenuItem::Lookup,
    &fw::MenuBar::Lookup,
    &fw::AppleMenuItem::Lookup,
    &fw::QuitMenuItem::Lookup,
    &fw::Window::Lookup,
    &fw::RectControl::Lookup,
    &fw::TextControl::Lookup,
    &fw::TextEdit::Lookup,
    &fw::Label::Lookup,
    &fw::TextField::Lookup,
    &fw::TextArea::Lookup,
    &fw::PushButton::Lookup,
    &fw::Canvas::Lookup,
    &fw::RoundRectangle::Lookup,
    &fw::FolderItem::Lookup,
    &fw::Picture::Lookup,
    &fw::Graphics::Lookup,
    &fw::PrinterSetup::Lookup,
    &fw::StyledTextPrinter::Lookup,
};

constexpr ClassLookup kProgramClasses[] = {
    &App::Lookup,
    &Window1::Lookup,
    &MenuBar1::Lookup,
    &AboutWindow::Lookup,
    &HelpWindow::Lookup,
};

}  // namespace

void InitializeModule() {
    for (ClassLookup lookup : kFrameworkClasses) lookup();
    for (ClassLookup lookup : kProgramClasses) lookup();
}

// The framework's window registry goes first; the shared menu bar, which the windows showed, is
// released last.
void FinalizeModule() {
    fw::CloseAllWindows();
    MenuBar1::ExitImplicitInstance();
}

}  // namespace radixel
