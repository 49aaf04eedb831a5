#pragma once
// The running state of a Hangman game: the score and misses of the word
// being guessed, the words finished, the players' totals, the cheat flag
// and the flag telling that the dictionary editor was shown. A plain data
// class: every accessor stores and returns its value unchanged, and a new
// instance starts with every number at 0 and both variants empty. The one
// instance lives in HangmanGame (Modules/modHangman.h).
#include <QVariant>

class clsHangMan {
public:
    QVariant TotalScore2() const { return totalScore2_; }
    void setTotalScore2(const QVariant& v) { totalScore2_ = v; }
    QVariant Dic() const { return dic_; }
    void setDic(const QVariant& v) { dic_ = v; }
    qint16 Cheat() const { return cheat_; }
    void setCheat(qint16 v) { cheat_ = v; }
    qint16 TotalScore1() const { return totalScore1_; }
    void setTotalScore1(qint16 v) { totalScore1_ = v; }
    qint16 Score() const { return score_; }
    void setScore(qint16 v) { score_ = v; }
    qint16 Games() const { return games_; }
    void setGames(qint16 v) { games_ = v; }
    qint16 Wrong() const { return wrong_; }
    void setWrong(qint16 v) { wrong_ = v; }
    qint16 Right() const { return right_; }
    void setRight(qint16 v) { right_ = v; }

private:
    QVariant totalScore2_;
    QVariant dic_;
    qint16 cheat_ = 0;
    qint16 totalScore1_ = 0;
    qint16 score_ = 0;
    qint16 games_ = 0;
    qint16 wrong_ = 0;
    qint16 right_ = 0;
};
