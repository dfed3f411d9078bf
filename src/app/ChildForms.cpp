#include "app/ChildForms.h"

#include "boardlist/LayoutAuditForm.h"
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
    // The bus carries one conversation at a time; a window's own is idle when it asks.
    links.OtherConversationUnderWay = [owner] { return owner && owner->ConversationUnderWay(); };
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
        links.CheckLayout = [owner] {
            if (owner) owner->CheckLayout1Click();
        };
        auto* form = new TProgramBoardForm(main.BoardData, std::move(links));
        return {form, form};
    }

    TSVForm MakeRenumberForm(TMainForm& main) override
    {
        auto* form = new TRenumberForm(&main.BoardData, ConversationLinksOf(main));
        return {form, form};
    }

    TSVForm MakeAuditForm(TMainForm& main) override
    {
        QPointer<TMainForm> owner = &main;
        TLayoutAuditLinks links;
        static_cast<TConversationLinks&>(links) = ConversationLinksOf(main);
        // A row's board is programmed, read or edited in the board list window, opened for it.
        links.InBoardList = [owner](int type, uint32_t index, EBoardListCommand command) {
            if (!owner) return;
            owner->ConfigureBoards1Click();
            auto* boards = qobject_cast<TProgramBoardForm*>(owner->ProgForm.Form.data());
            if (!boards) return;
            boards->ShowBoard(type, index);
            switch (command) {
            case EBoardListCommand::Program: boards->ProgramButtonClick(); break;
            case EBoardListCommand::ReadBoard: boards->ReadBoardButtonClick(); break;
            case EBoardListCommand::Edit: boards->EditBoard1Click(); break;
            }
        };
        auto* form = new TLayoutAuditForm(main.BoardData, std::move(links));
        return {form, form};
    }
};

} // namespace

std::shared_ptr<TChildFormFactory> MakeChildFormFactory()
{
    return std::make_shared<TEditorFormFactory>();
}
