#include "screens/ProblemsForm.h"

#include "screens/Texts.h"

#include <QKeyEvent>

TProblemsForm::TProblemsForm(QWidget *owner, const QString &programDir)
    : TAbstractForm("ProblemsForm", owner, programDir), flow_(Catalogue, Problems, *this)
{
    SetFlow(flow_);
    FormCreate();
}

void TProblemsForm::FormCreate()
{
    createTopPanel();

    SetUpPuzzleViews(345, false, QColor(0, 0, 0));
    ProblemsList->setToolTip(QStringLiteral("Список головоломок"));

    ProblemImage = new TPictureBox(this);
    ProblemImage->setObjectName(QStringLiteral("ProblemImage"));
    ProblemImage->setGeometry(355, 80, PictureWidth, PictureHeight);
    ProblemImage->setToolTip(texts::PictureHint);
    ImageShape = screens::makeFrame(this, "Ramka", {355, 80, PictureWidth, PictureHeight}, texts::PictureHint);

    AnswerButton = CreateButtons<TFlatButton>("AnswerButton", {8, 129}, {460, 185}, {664, 129});

    screens::Guarded([this] {
        PanelImage->setTile(screens::mediaBitmap(QStringLiteral("ListPanel")));
        SetBackgroundTile(screens::mediaBitmap(QStringLiteral("texture")));
    });

    screens::Guarded([this] {
        if (!flow_.Start())
            MarkStartFailed();
    });
}

void TProblemsForm::createTopPanel()
{
    TopPanel = screens::makeTopPanel(this, "FlatTabControl1", PanelImage);
    ProblemName = new TLabel(TopPanel);
    ProblemName->setObjectName(QStringLiteral("ProblemName"));
    ProblemName->setFont(zw::gameFont(24));
    ProblemName->setAutoSize(false);
    ProblemName->setAlignment(Qt::AlignRight | Qt::AlignTop);
    ProblemName->setTransparent(true);
    ProblemName->setGeometry(306, 18, 418, 49);
    ProblemName->setToolTip(texts::PuzzleNameHint);
    ProblemName->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    DiffImage = new TPictureBox(TopPanel);
    DiffImage->setObjectName(QStringLiteral("DiffImage"));
    DiffImage->setGeometry(735, 12, 50, 50);
    DiffFrame = screens::makeFrame(TopPanel, "Shape1", {735, 12, 50, 50}, QStringLiteral("Сложность"));
}

void TProblemsForm::ShowView(const CollectionView &view)
{
    textMode_ = view.textMode;
    DiffImage->clearPicture();
    const TProblem *item = Problems.Selected();
    if (Problems.SelectionSerial() != stretchedFor_) {
        stretchedFor_ = Problems.SelectionSerial();
        stretched_ = item && !item->Picture.isNull()
                         ? item->Picture.scaled(PictureWidth, PictureHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         : QImage();
    }
    if (item) {
        DecideButton->setEnabled(true);
        AnswerButton->setEnabled(true);
        ProblemName->setCaption(item->Name);
        if (const std::optional<Difficulty> grade = knownDifficulty(item->Difficult))
            DiffImage->setPicture(screens::mediaBitmap(QStringLiteral("DIFF%1").arg(indexOf(*grade) + 1)));
        ProblemImage->setPicture(stretched_, stretched_.isNull() ? QByteArray() : item->PictureSvg);
        if (textMode_) {
            ProblemsList->hide();
            DecideButton->setText(texts::Answer);
            ProblemText->show();
            // The same puzzle's text stays where the reader left it.
            if (shownText_ != Problems.SelectionSerial()) {
                ProblemText->SetText(item->GetStatementText());
                shownText_ = Problems.SelectionSerial();
            }
        } else {
            DecideButton->setText(texts::Decide);
            ProblemsList->show();
            ProblemText->hide();
            shownText_ = 0;
        }
    } else {
        QImage white(PictureWidth, PictureHeight, QImage::Format_RGB888);
        white.fill(Qt::white);
        ProblemImage->setPicture(white);
        DecideButton->setEnabled(false);
        AnswerButton->setEnabled(false);
        ProblemName->setCaption(QString());
    }
    ProblemsList->Refresh();
    ShowMemo();
    FocusForMode();
}
