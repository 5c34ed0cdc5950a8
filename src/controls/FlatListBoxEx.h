#pragma once
// The owner-drawn puzzle list of the game and collection screens: a view of a
// TProblemListModel. It draws every row itself, scrolls with two arrow strips
// inside its own area, the wheel and an auto-repeat timer of its own, and
// reports the rows the player chooses; the screen changes the model and
// refreshes the list.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

class QPainter;
class QTimer;
class TProblemListModel;

namespace platform
{
class IResourceLibrary;
}

// Screens build the list like this:
//   list->BeginLoad();
//   list->setGeometry(...); list->SetItemHeight(22); list->SetScrollBars(true); ...
//   list->Loaded(&media);   // pictures from the media library, height snapped to whole rows
// The count box takes the parent's background colour: a parent with a tiled
// bitmap brush should give that brush its plain colour too (QBrush(color, pixmap)).
// The text colour is the palette's WindowText, which follows the parent like the font.
class TFlatListBoxEx : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(bool ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(QColor ColorArrow READ ColorArrow WRITE SetColorArrow)
    Q_PROPERTY(QColor ColorBorder READ ColorBorder WRITE SetColorBorder)
    Q_PROPERTY(QColor ColorItemsRect READ ColorItemsRect WRITE SetColorItemsRect)
    Q_PROPERTY(QColor ColorItemsSelect READ ColorItemsSelect WRITE SetColorItemsSelect)
    Q_PROPERTY(bool GameMode READ GameMode WRITE SetGameMode)
    Q_PROPERTY(bool UseAdvColors READ UseAdvColors WRITE SetUseAdvColors)
    Q_PROPERTY(int AdvColorBorder READ AdvColorBorder WRITE SetAdvColorBorder)
    Q_PROPERTY(int TopIndex READ TopIndex WRITE SetTopIndex)
    Q_PROPERTY(int VisibleRows READ VisibleRows)

  public:
    static constexpr int MaxHighlighted = 256; // positions that can be drawn highlighted
    static constexpr int StripHeight = 11;     // arrow strips, and the double-click dead zones
    static constexpr int RepeatDelay = 600;    // ms before an arrow held down repeats
    static constexpr int RepeatInterval = 100; // ms between repeats after that
    static constexpr int DefaultWidth = 137;
    static constexpr int DefaultHeight = 99;

    explicit TFlatListBoxEx(QWidget *parent = nullptr);
    ~TFlatListBoxEx() override;

    // Layout loading: while loading, ItemHeight and ScrollBars do not resize the
    // control and size changes are not snapped. Loaded() reads the five pictures
    // (platform::loadBitmapFrom: EResourceError naming the one that is missing),
    // snaps the height and rebuilds the rows.
    void BeginLoad();
    void Loaded(const platform::IResourceLibrary *library);
    bool IsLoading() const { return loading_; }

    // The puzzles shown; the model outlives the list or is set to null first.
    void SetModel(const TProblemListModel *model);
    const TProblemListModel *Model() const { return model_; }
    // Repaints after the model changed; a new selection is announced to
    // assistive technology as the player's own would be.
    void Refresh();

    // Items, as the model holds them.
    int Count() const;
    QString Item(int position) const;
    // The highlighted position: the model's selection when it is below
    // MaxHighlighted, else -1.
    int HighlightedIndex() const;

    // Rows and scrolling.
    void RebuildRows();
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);
    int VisibleRows() const { return visibleRows_; }
    const std::vector<QRect> &Rows() const { return rows_; }
    bool UpArrowActive() const;
    bool DownArrowActive() const;
    bool ScrollingDown() const { return scrollDown_; }

    // Properties.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    bool ScrollBars() const { return scrollBars_; }
    void SetScrollBars(bool on);
    QColor Color() const;
    void SetColor(const QColor &color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);
    QColor ColorArrow() const { return colorArrow_; }
    void SetColorArrow(const QColor &c) { setColour(colorArrow_, c); }
    QColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(const QColor &c) { setColour(colorBorder_, c); }
    QColor ColorItemsRect() const { return colorItemsRect_; }
    void SetColorItemsRect(const QColor &c) { setColour(colorItemsRect_, c); }
    QColor ColorItemsSelect() const { return colorItemsSelect_; }
    void SetColorItemsSelect(const QColor &c) { setColour(colorItemsSelect_, c); }
    bool GameMode() const { return gameMode_; }
    void SetGameMode(bool on);
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool on);
    int AdvColorBorder() const { return advColorBorder_; }
    void SetAdvColorBorder(int strength); // 0..100; other values change nothing

    // The border colour derived from a base colour with a strength of 0..100.
    static QColor DeriveBorderColor(const QColor &base, int strength);

    // Draws the whole list as it looks now; paintEvent draws with it into the
    // window's back buffer, which reaches the screen in one step.
    void DrawList(QPainter &painter) const;

    // The list's auto-repeat timer while an arrow strip is held.
    QTimer *RepeatTimer() const;

  public slots:
    // One step of the auto-repeat; the list's timer calls it.
    void RepeatTick();

  signals:
    // A click on a row (also an empty one, position >= Count) or a key that
    // moves to another row; the screen selects it in the model.
    void rowChosen(int position);
    void doubleClicked();
    // Refresh found a selection the list had not shown yet.
    void selectionShown();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Up, Down, Home, End, Page Up and Page Down move the selection as a click does.
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

  private:
    struct Picture {
        QImage source;
        mutable QImage scaled; // the source stretched to one row's square
    };

    // The rows' titles, laid out once per change of the model.
    const std::vector<QStaticText> &labels() const;
    int selectedPosition() const;
    void scrollIntoView(int position);
    int rowsFor(int height) const;
    int snappedHeight(int rows) const;
    void snapHeight();
    void catchUpResize();
    void restartRepeat();
    void stopRepeat();
    void recomputeBorder();
    void setColour(QColor &field, const QColor &value);
    QColor parentBackground() const;
    QColor textColour() const;
    const QImage *scaledPicture(const Picture &picture) const;
    void drawArrow(QPainter &painter, bool up, bool active) const;
    void drawRow(QPainter &painter, int row, int position, const QStaticText &label, bool highlighted) const;

    const TProblemListModel *model_ = nullptr;
    mutable std::vector<QStaticText> labels_;
    mutable std::uint64_t labelsRevision_ = 0;
    mutable bool labelsBuilt_ = false;
    std::uint64_t shownSelection_ = 0;
    int topIndex_ = 0;
    int visibleRows_ = 0;
    std::vector<QRect> rows_;
    bool scrollDown_ = false;
    QTimer *repeat_ = nullptr; // owned as a child
    bool loading_ = false;

    std::array<Picture, 3> difficultyPictures_;
    std::array<Picture, 2> solvedPictures_;

    int itemHeight_ = 17;
    bool scrollBars_ = false;
    QColor color_{235, 234, 225};
    bool parentColor_ = true;
    QColor colorArrow_{0, 0, 0};
    QColor colorBorder_{160, 150, 131};
    QColor colorItemsRect_{255, 255, 255};
    QColor colorItemsSelect_{247, 222, 156};
    bool gameMode_ = false;
    bool useAdvColors_ = false;
    int advColorBorder_ = 40;
};
