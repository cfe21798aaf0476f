// The fixed text of the assignment box: the teaching task the program carries out. Its 23 lines
// each end in CR LF, the last one included (1159 characters in all); the box shows each CR LF as
// one line break.
#pragma once

#include <QString>

namespace layout {

// The texts below need Qt's QString literal and no more of Qt's literals: a using-directive
// here would bring them all into this namespace in every file that includes the header.
using Qt::StringLiterals::operator""_s;

inline const QString AssignmentText =
    u"Да се реализира проект, чрез който се представят междупредметни \r\n"
    u"връзки между Математика и Информатика.\r\n"
    u"Тема на проекта: Тервалика.\r\n"
    u"Чрез проекта да се изчислява прав пресечен кръгов конус по \r\n"
    u"зададени три параметъра от набора:  r- радиус на по-малката основа, \r\n"
    u"R - радиус на по-голямата основа, L - образувателна, H - височина, \r\n"
    u"So - околна и V - обем на конуса. \r\n"
    u"Съобразно избраната начална комбинация от параметри на \r\n"
    u"потребителя да се разрешава/забранява въвеждането на другите три \r\n"
    u"параметъра.\r\n"
    u"Да се използват радиобутони за определяне на началната \r\n"
    u"комбинация от параметри и да се извеждат изчислените три \r\n"
    u"параметъра на пресечения конус.\r\n"
    u"Прочетете допълнителен материал за прав пресечен кръгов конус и \r\n"
    u"връзката между неговите параметри: радиус на основата, \r\n"
    u"образувателна, височина, обем, околна и пълна повърхнина.\r\n"
    u"За изчисляване околна повърхнина и обема на пресечен конус са \r\n"
    u"използвани следните формули:\r\n"
    u"So = pi*(r + R)*L; V = pi*H*(r*r + R*R + r*R)/3\r\n"
    u"В примерния проект са използвани следните комбинации от входни \r\n"
    u"параметри:\r\n"
    u"1) r, R, H; 2) r, R, L; 3) r, R, So; 4) r, R, V; 5) r, H, L; 6) r, L, S; 7) R, H, L; \r\n"
    u"8) R, L, S.\r\n"_s;

}  // namespace layout
