#include "app/ChildForms.h"

#include "boardlist/ProgramBoardForm.h"
#include "boardlist/RenumberForm.h"
#include "link/LnThreadComm.h"

#include <QLineEdit>
#include <QPointer>

namespace {

std::function<void(const QString&)> StatusLine(TMainForm& main)
{
    // The status line may go before the window does when the program ends.
    QPointer<QLineEdit> status = main.ProgStatus;
    return [status](const QString& text) {
        if (status) status->setText(text);
    };
}

// What every conversation window takes from the main window: its link, its status line and the
// kind of interface the link goes through.
TConversationLinks ConversationLinksOf(TMainForm& main)
{
    QPointer<TMainForm> owner = &main;
    TConversationLinks links;
    links.Send = [owner](std::unique_ptr<TLocoNetMessage> message) {
        if (owner) owner->SendMessage(std::move(message));
    };
    links.ShowStatus = StatusLine(main);
    links.LinkInterface = [owner] {
        return owner && owner->LocoNetComm1 ? owner->LocoNetComm1->GetLocoNetInterface() : ePR3;
    };
    return links;
}

class TEditorFormFactory : public TChildFormFactory {
public:
    TSVForm MakeBoardForm(TMainForm& main) override
    {
        QPointer<TMainForm> owner = &main;
        TProgramBoardLinks links;
        static_cast<TConversationLinks&>(links) = ConversationLinksOf(main);
        links.OpenDialog = main.OpenFileDialog;
        links.SaveDialog = main.SaveFileDialog;
        links.Exit = [owner] {
            if (owner) owner->Exit1Click();
        };
        links.ShowChild = [owner](QWidget* form) {
            if (owner)
                owner->AddChildForm(form, true);
            else
                form->show();
        };
        links.EditorAnchor = &main;
        auto* form = new TProgramBoardForm(main.BoardData, std::move(links));
        return {form, form};
    }

    TSVForm MakeRenumberForm(TMainForm& main) override
    {
        auto* form = new TRenumberForm(&main.BoardData, ConversationLinksOf(main));
        return {form, form};
    }
};

} // namespace

std::shared_ptr<TChildFormFactory> MakeChildFormFactory()
{
    return std::make_shared<TEditorFormFactory>();
}
