<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<!DOCTYPE TS>
<TS version="2.1" language="he_IL">
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>Reason</name>
    <message>
        <source>the printer&apos;s answer did not come in time</source>
        <translation>תשובת המדפסת לא הגיעה בזמן</translation>
    </message>
    <message>
        <source>not sent: the journal could not be written</source>
        <translation>לא נשלח: לא ניתן היה לכתוב ביומן</translation>
    </message>
    <message>
        <source>not sent: the printer stopped taking jobs</source>
        <translation>לא נשלח: המדפסת הפסיקה לקבל עבודות</translation>
    </message>
    <message>
        <source>its job was going out when the run stopped</source>
        <translation>העבודה שלו הייתה בשליחה כשההרצה נעצרה</translation>
    </message>
    <message>
        <source>the address holds a NUL character, which no document&apos;s address can</source>
        <translation>הכתובת מכילה תו NUL, שכתובת של מסמך אינה יכולה להכיל</translation>
    </message>
    <message>
        <source>not a valid address</source>
        <translation>אינה כתובת תקינה</translation>
    </message>
    <message>
        <source>the address is too long to load</source>
        <translation>הכתובת ארוכה מכדי לטעון אותה</translation>
    </message>
    <message>
        <source>the address holds a NUL character (%00), which no document&apos;s address can</source>
        <translation>הכתובת מכילה תו NUL ‏(%00), שכתובת של מסמך אינה יכולה להכיל</translation>
    </message>
    <message>
        <source>not a document address</source>
        <translation>אינה כתובת של מסמך</translation>
    </message>
    <message>
        <source>the server asks for a password</source>
        <translation>השרת מבקש סיסמה</translation>
    </message>
    <message>
        <source>not a page that can be printed</source>
        <translation>אינו דף שאפשר להדפיס</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>הקובץ לא נמצא</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>לא ניתן לקרוא את הקובץ</translation>
    </message>
    <message>
        <source>the connection was refused</source>
        <translation>החיבור נדחה</translation>
    </message>
    <message>
        <source>unknown host</source>
        <translation>שרת לא ידוע</translation>
    </message>
    <message>
        <source>browsers refuse that port</source>
        <translation>דפדפנים מסרבים לפתחה הזאת</translation>
    </message>
    <message>
        <source>the server answered with HTTP status %1</source>
        <translation>השרת ענה במצב HTTP ‏%1</translation>
    </message>
    <message>
        <source>the site&apos;s certificate is not trusted</source>
        <translation>אין אמון בתעודה של האתר</translation>
    </message>
    <message>
        <source>it could not be loaded</source>
        <translation>לא ניתן היה לטעון אותו</translation>
    </message>
    <message>
        <source>it could not be loaded (%1)</source>
        <translation>לא ניתן היה לטעון אותו (%1)</translation>
    </message>
    <message>
        <source>the browser engine failed</source>
        <translation>מנוע הדפדפן נכשל</translation>
    </message>
    <message>
        <source>the print system did not answer</source>
        <translation>מערכת ההדפסה לא ענתה</translation>
    </message>
    <message>
        <source>the print system&apos;s answer could not be read (%1)</source>
        <translation>לא ניתן היה לקרוא את תשובת מערכת ההדפסה (%1)</translation>
    </message>
    <message>
        <source>the address offered a file to download, not a page</source>
        <translation>הכתובת הציעה קובץ להורדה, לא דף</translation>
    </message>
    <message>
        <source>the page was still busy after %1 s and stopped answering</source>
        <translation>הדף עדיין היה עסוק אחרי %1 שניות והפסיק לענות</translation>
    </message>
    <message>
        <source>a folder, not a document</source>
        <translation>תיקייה, לא מסמך</translation>
    </message>
    <message>
        <source>loading was stopped</source>
        <translation>הטעינה נעצרה</translation>
    </message>
    <message>
        <source>preparing it for the printer took too long</source>
        <translation>ההכנה שלו להדפסה ארכה זמן רב מדי</translation>
    </message>
    <message>
        <source>nothing of it arrived within %1 s</source>
        <translation>דבר ממנו לא הגיע בתוך %1 שניות</translation>
    </message>
    <message>
        <source>still loading after %1 s</source>
        <translation>עדיין נטען אחרי %1 שניות</translation>
    </message>
    <message>
        <source>the page could not be rendered for printing</source>
        <translation>לא ניתן היה לעבד את הדף להדפסה</translation>
    </message>
    <message>
        <source>the page&apos;s renderer crashed</source>
        <translation>תהליך העיבוד של הדף קרס</translation>
    </message>
    <message>
        <source>its web fonts had not arrived</source>
        <translation>גופני הרשת שלו עוד לא הגיעו</translation>
    </message>
    <message>
        <source>1 request still open</source>
        <translation>בקשה אחת עדיין פתוחה</translation>
    </message>
    <message>
        <source>%1 requests still open</source>
        <translation>%1 בקשות עדיין פתוחות</translation>
    </message>
    <message>
        <source>its timers had not run yet</source>
        <translation>הטיימרים שלו עוד לא רצו</translation>
    </message>
    <message>
        <source>the page kept changing</source>
        <translation>הדף המשיך להשתנות</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>הקובץ אינו פתוח</translation>
    </message>
    <message>
        <source>the printer is stopped</source>
        <translation>המדפסת עצורה</translation>
    </message>
    <message>
        <source>held until someone releases it</source>
        <translation>מוחזקת עד שמישהו ישחרר אותה</translation>
    </message>
    <message>
        <source>canceled by its owner</source>
        <translation>בוטלה על ידי הבעלים שלה</translation>
    </message>
    <message>
        <source>canceled by the printer&apos;s operator</source>
        <translation>בוטלה על ידי מפעיל המדפסת</translation>
    </message>
    <message>
        <source>canceled at the printer</source>
        <translation>בוטלה במדפסת</translation>
    </message>
    <message>
        <source>the print system gave it up</source>
        <translation>מערכת ההדפסה ויתרה עליה</translation>
    </message>
    <message>
        <source>the printer could not read it</source>
        <translation>המדפסת לא הצליחה לקרוא אותה</translation>
    </message>
    <message>
        <source>the print system no longer knows the job</source>
        <translation>מערכת ההדפסה כבר לא מכירה את העבודה</translation>
    </message>
    <message>
        <source>the printer stopped it</source>
        <translation>המדפסת עצרה אותה</translation>
    </message>
    <message>
        <source>the printer is stopped: %1</source>
        <translation>המדפסת עצורה: %1</translation>
    </message>
    <message>
        <source>no answer came in time</source>
        <translation>לא הגיעה תשובה בזמן</translation>
    </message>
    <message>
        <source>the print system asks for a password</source>
        <translation>מערכת ההדפסה מבקשת סיסמה</translation>
    </message>
    <message>
        <source>no printer was chosen</source>
        <translation>לא נבחרה מדפסת</translation>
    </message>
    <message>
        <source>the print system cannot be reached</source>
        <translation>אין גישה למערכת ההדפסה</translation>
    </message>
    <message>
        <source>the answer was malformed</source>
        <translation>התשובה הייתה פגומה</translation>
    </message>
    <message>
        <source>the connection was closed</source>
        <translation>החיבור נסגר</translation>
    </message>
    <message>
        <source>the folder does not take its file name (%1)</source>
        <translation>התיקייה אינה מקבלת את שם הקובץ שלו (%1)</translation>
    </message>
    <message>
        <source>no free file name was left for it</source>
        <translation>לא נשאר בשבילו שם קובץ פנוי</translation>
    </message>
    <message>
        <source>its pages could not be read back</source>
        <translation>לא ניתן היה לקרוא בחזרה את הדפים שלו</translation>
    </message>
    <message>
        <source>the printer did not take it</source>
        <translation>המדפסת לא קיבלה אותו</translation>
    </message>
    <message>
        <source>printing was abandoned</source>
        <translation>ההדפסה ננטשה</translation>
    </message>
    <message>
        <source>the print system no longer answers</source>
        <translation>מערכת ההדפסה כבר לא עונה</translation>
    </message>
    <message>
        <source>no page of it is in the range %1</source>
        <translation>אף אחד מהדפים שלו אינו בטווח %1</translation>
    </message>
    <message>
        <source>its PDF could not be read</source>
        <translation>לא ניתן היה לקרוא את קובץ ה־PDF שלו</translation>
    </message>
    <message>
        <source>the printer refused it: %1</source>
        <translation>המדפסת דחתה אותו: %1</translation>
    </message>
    <message>
        <source>not sent: %1</source>
        <translation>לא נשלח: %1</translation>
    </message>
    <message>
        <source>not sent: the printer stopped taking jobs (%1)</source>
        <translation>לא נשלח: המדפסת הפסיקה לקבל עבודות (%1)</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>נעצר</translation>
    </message>
    <message>
        <source>the element &quot;%1&quot; never appeared</source>
        <translation>הרכיב &quot;%1&quot; לא הופיע מעולם</translation>
    </message>
    <message>
        <source>the page never said it was ready</source>
        <translation>הדף לא הודיע מעולם שהוא מוכן</translation>
    </message>
    <message>
        <source>ended at %1</source>
        <translation>הסתיים בכתובת %1</translation>
    </message>
    <message>
        <source>sign-in refused</source>
        <translation>ההתחברות נדחתה</translation>
    </message>
    <message>
        <source>the combined job failed: %1</source>
        <translation>העבודה המאוחדת נכשלה: %1</translation>
    </message>
    <message>
        <source>every name for it is taken</source>
        <translation>כל שם עבורו כבר תפוס</translation>
    </message>
    <message>
        <source>the combined document could not be written</source>
        <translation>לא ניתן היה לכתוב את המסמך המאוחד</translation>
    </message>
    <message>
        <source>the combined document could not be read</source>
        <translation>לא ניתן היה לקרוא את המסמך המאוחד</translation>
    </message>
    <message>
        <source>it could not be added to the combined document</source>
        <translation>לא ניתן היה להוסיף אותו למסמך המאוחד</translation>
    </message>
</context>
<context>
    <name>SignIn</name>
    <message>
        <source>the netrc file %1 can be read by other users; make it private with chmod 600</source>
        <translation>קובץ ה-netrc ‏%1 ניתן לקריאה על ידי משתמשים אחרים; הפכו אותו לפרטי עם chmod 600</translation>
    </message>
    <message>
        <source>the profile folder %1 cannot be made</source>
        <translation>לא ניתן ליצור את תיקיית הפרופיל %1</translation>
    </message>
    <message>
        <source>the cookies file %1 is not a regular file</source>
        <translation>קובץ העוגיות %1 אינו קובץ רגיל</translation>
    </message>
    <message>
        <source>the cookies file %1 cannot be read: %2</source>
        <translation>לא ניתן לקרוא את קובץ העוגיות %1: %2</translation>
    </message>
    <message>
        <source>the cookies file %1 is too large to be a cookies file</source>
        <translation>קובץ העוגיות %1 גדול מכדי להיות קובץ עוגיות</translation>
    </message>
    <message>
        <source>line %1 of the cookies file %2 is too long to be a cookie</source>
        <translation>שורה %1 בקובץ העוגיות %2 ארוכה מכדי להיות עוגייה</translation>
    </message>
    <message>
        <source>line %1 of the cookies file %2 is not a cookie</source>
        <translation>שורה %1 בקובץ העוגיות %2 אינה עוגייה</translation>
    </message>
    <message>
        <source>the netrc file %1 is not a regular file</source>
        <translation>קובץ ה-netrc ‏%1 אינו קובץ רגיל</translation>
    </message>
    <message>
        <source>the netrc file %1 cannot be read: %2</source>
        <translation>לא ניתן לקרוא את קובץ ה-netrc ‏%1: %2</translation>
    </message>
    <message>
        <source>the netrc file %1 is too large to be a netrc file</source>
        <translation>קובץ ה-netrc ‏%1 גדול מכדי להיות קובץ netrc</translation>
    </message>
    <message>
        <source>the netrc file %1 is not text</source>
        <translation>קובץ ה-netrc ‏%1 אינו טקסט</translation>
    </message>
    <message>
        <source>line %1 of the netrc file %2 holds a word netrc files do not know</source>
        <translation>שורה %1 בקובץ ה-netrc ‏%2 מכילה מילה שקובצי netrc אינם מכירים</translation>
    </message>
    <message>
        <source>line %1 of the netrc file %2 names no value after a keyword</source>
        <translation>שורה %1 בקובץ ה-netrc ‏%2 אינה נותנת ערך אחרי מילת מפתח</translation>
    </message>
    <message>
        <source>line %1 of the netrc file %2 names a login or password before any machine</source>
        <translation>שורה %1 בקובץ ה-netrc ‏%2 נותנת שם משתמש או סיסמה לפני כל machine</translation>
    </message>
    <message>
        <source>--header wants &quot;Name: value&quot;</source>
        <translation>--header מצפה ל-&quot;Name: value&quot;</translation>
    </message>
    <message>
        <source>--header wants a header name of letters, digits and -, not %1</source>
        <translation>--header מצפה לשם כותרת של אותיות, ספרות ו-‎-‎, לא %1</translation>
    </message>
    <message>
        <source>--header cannot set %1: the browser engine sets it for each connection</source>
        <translation>--header אינו יכול לקבוע את %1: מנוע הדפדפן קובע אותה לכל חיבור</translation>
    </message>
    <message>
        <source>--header %1 wants a value of printable ASCII on one line</source>
        <translation>--header %1 מצפה לערך של ASCII בר-הדפסה בשורה אחת</translation>
    </message>
</context>
<context>
    <name>SignInWindow</name>
    <message>
        <source>Sign in to %1</source>
        <translation>התחברות אל %1</translation>
    </message>
    <message>
        <source>%1 asks for a user name and password.</source>
        <translation>%1 מבקש שם משתמש וסיסמה.</translation>
    </message>
    <message>
        <source>%1 asks for a user name and password for &quot;%2&quot;.</source>
        <translation>%1 מבקש שם משתמש וסיסמה עבור &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>שם משתמש:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>סיסמה:</translation>
    </message>
</context>
<context>
    <name>app</name>
    <message>
        <source>These could not be added:</source>
        <translation>לא ניתן היה להוסיף את אלה:</translation>
    </message>
    <message>
        <source>tavimark: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); to print without a window, use --print</source>
        <translation>tavimark: אין תצוגה שבה אפשר להציג את החלון (לא DISPLAY ולא WAYLAND_DISPLAY מוגדרים); כדי להדפיס בלי חלון, השתמשו ב־‎--print</translation>
    </message>
</context>
<context>
    <name>app::BatchPrint</name>
    <message>
        <source>tavimark: cannot use %1</source>
        <translation>tavimark: לא ניתן להשתמש ב־%1</translation>
    </message>
    <message>
        <source>tavimark: the print system cannot be reached</source>
        <translation>tavimark: אין גישה למערכת ההדפסה</translation>
    </message>
    <message>
        <source>tavimark: no printer is set up</source>
        <translation>tavimark: לא הוגדרה מדפסת</translation>
    </message>
    <message>
        <source>tavimark: no contents page: %1</source>
        <translation>tavimark: אין עמוד תוכן עניינים: %1</translation>
    </message>
</context>
<context>
    <name>app::BatchReport</name>
    <message>
        <source>written to %1</source>
        <translation>נכתב אל %1</translation>
    </message>
    <message>
        <source>(written before it finished loading: %1)</source>
        <translation>(נכתב לפני שסיים להיטען: %1)</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>נשלח</translation>
    </message>
    <message>
        <source>sent (printed before it finished loading: %1)</source>
        <translation>נשלח (הודפס לפני שסיים להיטען: %1)</translation>
    </message>
    <message>
        <source>may have printed (%1)</source>
        <translation>ייתכן שהודפס (%1)</translation>
    </message>
    <message>
        <source>not printed (%1)</source>
        <translation>לא הודפס (%1)</translation>
    </message>
    <message>
        <source>printed</source>
        <translation>הודפס</translation>
    </message>
    <message>
        <source>aborted by the printer</source>
        <translation>בוטל על ידי המדפסת</translation>
    </message>
    <message>
        <source>canceled</source>
        <translation>בוטל</translation>
    </message>
    <message>
        <source>still held</source>
        <translation>עדיין מוחזק</translation>
    </message>
    <message>
        <source>sent; the printer&apos;s answer is unknown</source>
        <translation>נשלח; תשובת המדפסת אינה ידועה</translation>
    </message>
    <message>
        <source>already sent to %1 as job %2 (found in the queue)</source>
        <translation>כבר נשלח אל %1 כעבודה %2 (נמצא בתור)</translation>
    </message>
    <message>
        <source>already sent as job %1 (found in the queue)</source>
        <translation>כבר נשלח כעבודה %1 (נמצא בתור)</translation>
    </message>
    <message>
        <source>already sent to %1 (journal)</source>
        <translation>כבר נשלח אל %1 (יומן)</translation>
    </message>
    <message>
        <source>already sent (journal)</source>
        <translation>כבר נשלח (יומן)</translation>
    </message>
    <message>
        <source>may have printed (journal)</source>
        <translation>ייתכן שהודפס (יומן)</translation>
    </message>
    <message>
        <source>sent; %1</source>
        <translation>נשלח; %1</translation>
    </message>
    <message>
        <source>may have printed</source>
        <translation>ייתכן שהודפסו</translation>
    </message>
    <message>
        <source>with the printer&apos;s answer unknown</source>
        <translation>עם תשובת מדפסת לא ידועה</translation>
    </message>
    <message>
        <source>with no answer in time</source>
        <translation>ללא תשובה בזמן</translation>
    </message>
    <message>
        <source>written</source>
        <translation>נכתבו</translation>
    </message>
    <message>
        <source>tavimark: nothing to print</source>
        <translation>tavimark: אין מה להדפיס</translation>
    </message>
    <message>
        <source>printing was stopped (%1)</source>
        <translation>ההדפסה נעצרה (%1)</translation>
    </message>
    <message>
        <source>the printer stopped taking jobs (%1)</source>
        <translation>המדפסת הפסיקה לקבל עבודות (%1)</translation>
    </message>
    <message>
        <source>not printed</source>
        <translation>לא הודפסו</translation>
    </message>
    <message>
        <source>%1 written before they finished loading</source>
        <translation>%1 נכתבו לפני שסיימו להיטען</translation>
    </message>
    <message>
        <source>%1 printed before they finished loading</source>
        <translation>%1 הודפסו לפני שסיימו להיטען</translation>
    </message>
    <message>
        <source>%1 of 1 entry %2</source>
        <translation>%1 מתוך רשומה אחת %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n entries %2</source>
        <translation>
            <numerusform>%1 מתוך %n רשומות %2</numerusform>
            <numerusform>%1 מתוך %n רשומות %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>app::CommandLine</name>
    <message>
        <source>Print without a window (no display needed), then exit.</source>
        <translation>הדפסה בלי חלון (אין צורך בתצוגה), ואז יציאה.</translation>
    </message>
    <message>
        <source>Add the addresses in the URL list FILE. May repeat.</source>
        <translation>הוספת הכתובות שברשימת הכתובות FILE. אפשר לחזור על האפשרות.</translation>
    </message>
    <message>
        <source>Add every file of the extension under DIR and its subfolders. May repeat.</source>
        <translation>הוספת כל קובץ עם הסיומת שתחת DIR ותיקיות המשנה שלה. אפשר לחזור על האפשרות.</translation>
    </message>
    <message>
        <source>The extension --folder looks for (default: htm, which finds .html too). Applies to the --folder options after it.</source>
        <translation>הסיומת ש־‎--folder מחפש (ברירת מחדל: htm, שמוצאת גם ‎.html). חלה על אפשרויות ‎--folder שאחריה.</translation>
    </message>
    <message>
        <source>Print on the CUPS queue NAME instead of the default.</source>
        <translation>הדפסה בתור ה־CUPS בשם NAME במקום בתור ברירת המחדל.</translation>
    </message>
    <message>
        <source>Print N copies of each document.</source>
        <translation>הדפסת N עותקים מכל מסמך.</translation>
    </message>
    <message>
        <source>Print with the job option NAME=VALUE, as lp takes it: sides=two-sided-long-edge, media=A4, landscape, print-color-mode=monochrome, page-ranges=1-3,7, number-up=2, ... The printer must offer it. May repeat.</source>
        <translation>הדפסה עם אפשרות העבודה NAME=VALUE, כפי ש־lp מקבל אותה: sides=two-sided-long-edge,‏ media=A4,‏ landscape,‏ print-color-mode=monochrome,‏ page-ranges=1-3,7,‏ number-up=2, ... המדפסת חייבת להציע אותה. אפשר לחזור על האפשרות.</translation>
    </message>
    <message>
        <source>List the printers, one a line, the default marked, and exit.</source>
        <translation>הצגת המדפסות, אחת בכל שורה, עם סימון לברירת המחדל, ואז יציאה.</translation>
    </message>
    <message>
        <source>Give each document at most SECONDS to load and render (default: 30).</source>
        <translation>מתן SECONDS שניות לכל היותר לכל מסמך כדי להיטען ולהיות מעובד (ברירת מחדל: 30).</translation>
    </message>
    <message>
        <source>Write each document as a PDF file into DIR instead of printing it.</source>
        <translation>כתיבת כל מסמך כקובץ PDF לתוך DIR במקום להדפיס אותו.</translation>
    </message>
    <message>
        <source>Keep a record of the run in FILE, on the disk before each next job; run the same command again to print only what it does not show as sent.</source>
        <translation>ניהול יומן של ההרצה ב־FILE, שנכתב לדיסק לפני כל עבודה נוספת; הרצת אותה פקודה שוב מדפיסה רק את מה שאינו מופיע בו כנשלח.</translation>
    </message>
    <message>
        <source>With --journal: print again the entries it shows may have printed.</source>
        <translation>עם ‎--journal: הדפסה חוזרת של הרשומות שלפיו ייתכן שהודפסו.</translation>
    </message>
    <message>
        <source>Write a JSON object per entry on standard output as it settles, then a summary.</source>
        <translation>כתיבת אובייקט JSON לכל רשומה לפלט התקני כשהיא מוכרעת, ואחר כך סיכום.</translation>
    </message>
    <message>
        <source>After the run, wait for the printer to finish, hold or give up every job.</source>
        <translation>אחרי ההרצה, המתנה עד שהמדפסת תסיים, תחזיק או תוותר על כל עבודה.</translation>
    </message>
    <message>
        <source>Let --wait wait at most SECONDS (default: 600).</source>
        <translation>‏‎--wait ימתין SECONDS שניות לכל היותר (ברירת מחדל: 600).</translation>
    </message>
    <message>
        <source>Print pages without the title, address, page number and date.</source>
        <translation>הדפסת דפים בלי הכותרת, הכתובת, מספר העמוד והתאריך.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>הצגת העזרה הזאת ויציאה.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>הצגת הגרסה ויציאה.</translation>
    </message>
    <message>
        <source>Prints many HTML documents in one run: local files, folders of them, and web addresses.</source>
        <translation>מדפיס מסמכי HTML רבים בהרצה אחת: קבצים מקומיים, תיקיות שלהם וכתובות רשת.</translation>
    </message>
    <message>
        <source>Files, folders or addresses to add, in order; a folder is walked as --folder walks it, with the --ext before it.</source>
        <translation>קבצים, תיקיות או כתובות להוספה, לפי הסדר; תיקייה נסרקת כפי ש־‎--folder סורק, עם ה־‎--ext שלפניה.</translation>
    </message>
    <message>
        <source>prepare up to K documents at once, each in a browser process of its own
      (1 to 8; default: one per processor core, at least 2)</source>
        <translation>הכנת עד K מסמכים בבת אחת, כל אחד בתהליך דפדפן משלו
      (1 עד 8; ברירת מחדל: אחד לכל ליבת מעבד, לפחות 2)</translation>
    </message>
    <message>
        <source>print pages without the title, address, page number and date</source>
        <translation>הדפסת דפים בלי הכותרת, הכתובת, מספר העמוד והתאריך</translation>
    </message>
    <message>
        <source>give each document this long instead of 30 seconds (1 to 86400)</source>
        <translation>מתן זמן זה לכל מסמך במקום 30 שניות (1 עד 86400)</translation>
    </message>
    <message>
        <source>keep the browser engine&apos;s and Qt&apos;s own remarks on standard error</source>
        <translation>השארת ההערות של מנוע הדפדפן ושל Qt בפלט השגיאות התקני</translation>
    </message>
    <message>
        <source>Environment:</source>
        <translation>סביבה:</translation>
    </message>
    <message>
        <source>Exit status:
  0   every entry printed
  1   some entries not printed, or may have printed (with --wait: aborted, canceled, or unknown)
  2   the printer or the browser engine failed, nothing could be done,
      the journal could not be written, or --wait ran out of time
  64  a usage error, or a journal of another list
  75  the journal is in use by another run
</source>
        <translation>מצב יציאה:
  0   כל הרשומות הודפסו
  1   חלק מהרשומות לא הודפסו, או שייתכן שהודפסו (עם ‎--wait: בוטלו על ידי המדפסת, בוטלו, או לא ידוע)
  2   המדפסת או מנוע הדפדפן נכשלו, לא ניתן היה לעשות דבר,
      לא ניתן היה לכתוב ביומן, או ש־‎--wait חרג מהזמן
  64  שגיאת שימוש, או יומן של רשימה אחרת
  75  היומן בשימוש של הרצה אחרת
</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>אפשרות לא ידועה %1</translation>
    </message>
    <message>
        <source>%1 wants a %2, not an empty one</source>
        <translation>‏%1 דורש %2, לא ריק</translation>
    </message>
    <message>
        <source>-o page-ranges=%1 names no pages; write them as 1-3,7 or 5-</source>
        <translation>‏‎-o page-ranges=%1 אינו מציין דפים; כתבו אותם כמו 1-3,7 או 5-</translation>
    </message>
    <message>
        <source>--wait-timeout wants a number of seconds from 1 to %1</source>
        <translation>‏‎--wait-timeout דורש מספר שניות מ־1 עד %1</translation>
    </message>
    <message>
        <source>--wait-timeout goes with --wait: add --wait</source>
        <translation>‏‎--wait-timeout הולך עם ‎--wait: הוסיפו ‎--wait</translation>
    </message>
    <message>
        <source>--copies wants a whole number from 1 to %1</source>
        <translation>‏‎--copies דורש מספר שלם מ־1 עד %1</translation>
    </message>
    <message>
        <source>--timeout wants a number of seconds from %1 to %2</source>
        <translation>‏‎--timeout דורש מספר שניות מ־%1 עד %2</translation>
    </message>
    <message>
        <source>--ext wants an extension such as htm</source>
        <translation>‏‎--ext דורש סיומת כמו htm</translation>
    </message>
    <message>
        <source>%1 is for printing from the command line: add --print</source>
        <translation>‏%1 מיועד להדפסה משורת הפקודה: הוסיפו ‎--print</translation>
    </message>
    <message>
        <source>--resend-uncertain goes with --journal: add --journal FILE</source>
        <translation>‏‎--resend-uncertain הולך עם ‎--journal: הוסיפו ‎--journal FILE</translation>
    </message>
    <message>
        <source>--printer and --output do not go together: a run either prints or writes files</source>
        <translation>‏‎--printer ו־‎--output אינם הולכים יחד: הרצה מדפיסה או כותבת קבצים</translation>
    </message>
    <message>
        <source>tavimark: %1; try &apos;tavimark --help&apos;</source>
        <translation>tavimark: %1; נסו &apos;tavimark --help&apos;</translation>
    </message>
    <message>
        <source>(the current folder cannot be read, so a relative name cannot be resolved)</source>
        <translation>(לא ניתן לקרוא את התיקייה הנוכחית, ולכן לא ניתן לפענח שם יחסי)</translation>
    </message>
    <message>
        <source>folder %1 (it could not be read)</source>
        <translation>תיקייה %1 (לא ניתן היה לקרוא אותה)</translation>
    </message>
    <message>
        <source>list file %1 (%2)</source>
        <translation>קובץ רשימה %1 (%2)</translation>
    </message>
    <message>
        <source>%1 in list file %2 (%3)</source>
        <translation>‏%1 בקובץ הרשימה %2 (%3)</translation>
    </message>
    <message>
        <source>folder %1</source>
        <translation>תיקייה %1</translation>
    </message>
    <message>
        <source>--wait-for wants a CSS selector: &quot;%1&quot; is not one</source>
        <translation>--wait-for מצפה לבורר CSS: &quot;%1&quot; אינו כזה</translation>
    </message>
    <message>
        <source>Print each document once an element matching the CSS SELECTOR exists and the page has settled; else as it stands at its time bound.</source>
        <translation>להדפיס כל מסמך ברגע שקיים רכיב התואם את בורר ה-CSS ‏SELECTOR והדף נרגע; אחרת כפי שהוא בתום הזמן שלו.</translation>
    </message>
    <message>
        <source>Wait MS milliseconds more after a document has settled, within its time bound (0 to 60000).</source>
        <translation>להמתין עוד MS אלפיות שנייה אחרי שמסמך נרגע, בתוך מגבלת הזמן שלו (0 עד 60000).</translation>
    </message>
    <message>
        <source>Sign in with the cookies in FILE, a cookies.txt file as browsers export it.</source>
        <translation>להתחבר עם העוגיות שב-FILE, קובץ cookies.txt כפי שדפדפנים מייצאים אותו.</translation>
    </message>
    <message>
        <source>Send the header &quot;Name: value&quot; with every request to the hosts of the list&apos;s own entries, and to no other. May repeat.</source>
        <translation>לשלוח את הכותרת &quot;Name: value&quot; בכל בקשה לשרתים של הרשומות שברשימה עצמה, ולא לאף שרת אחר. ניתן לחזור.</translation>
    </message>
    <message>
        <source>Answer a site&apos;s request for a password from the netrc FILE instead of ~/.netrc.</source>
        <translation>לענות לבקשת סיסמה של אתר מקובץ ה-netrc ‏FILE במקום ‎~/.netrc.</translation>
    </message>
    <message>
        <source>Keep the browser&apos;s profile (cookies, storage) in DIR, made if missing, so that a sign-in serves later runs.</source>
        <translation>לשמור את פרופיל הדפדפן (עוגיות, אחסון) ב-DIR, שנוצרת אם חסרה, כך שהתחברות תשמש גם הרצות מאוחרות יותר.</translation>
    </message>
    <message>
        <source>Write PDF files without bookmarks for the documents&apos; headings.</source>
        <translation>לכתוב קובצי PDF בלי סימניות לכותרות המסמכים.</translation>
    </message>
    <message>
        <source>Make the run&apos;s documents one job, in list order, sent once the last is ready; with --output, one PDF file, --output naming it.</source>
        <translation>להפוך את מסמכי ההרצה לעבודה אחת, לפי סדר הרשימה, הנשלחת כשהאחרון מוכן; עם ‎--output, קובץ PDF אחד ש-‎--output נותן את שמו.</translation>
    </message>
    <message>
        <source>--wait-for wants a CSS selector such as #report-done</source>
        <translation>--wait-for מצפה לבורר CSS כגון ‎#report-done</translation>
    </message>
    <message>
        <source>--delay wants a whole number of milliseconds from 0 to %1</source>
        <translation>--delay מצפה למספר שלם של אלפיות שנייה מ-0 עד %1</translation>
    </message>
    <message>
        <source>With --combine, begin with a contents page listing the documents and the page each starts on.</source>
        <translation>עם ‎--combine, להתחיל בעמוד תוכן עניינים המפרט את המסמכים ואת העמוד שבו כל אחד מתחיל.</translation>
    </message>
    <message>
        <source>--contents goes with --combine</source>
        <translation>--contents הולך יחד עם ‎--combine</translation>
    </message>
</context>
<context>
    <name>app::Form1</name>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move bar to right and out of window to reveal full names.</source>
        <translation>גררו ושחררו קבצים לכאן. לחיצה כפולה על פריט מסירה אותו. הזיזו את הפס ימינה אל מחוץ לחלון כדי לראות שמות מלאים.</translation>
    </message>
    <message>
        <source>HTML files to print</source>
        <translation>קובצי HTML להדפסה</translation>
    </message>
    <message>
        <source>Entries print from top to bottom. Delete removes the selected entry; Ctrl+Up and Ctrl+Down move it.</source>
        <translation>הרשומות מודפסות מלמעלה למטה. Delete מסיר את הרשומה הנבחרת; Ctrl+למעלה ו־Ctrl+למטה מזיזים אותה.</translation>
    </message>
    <message>
        <source>Choose HTML files on this computer and add them to the list.</source>
        <translation>בחירת קובצי HTML במחשב הזה והוספתם לרשימה.</translation>
    </message>
    <message>
        <source>Choose plain-text files of web addresses and add every address in them to the list.</source>
        <translation>בחירת קובצי טקסט של כתובות רשת והוספת כל כתובת שבהם לרשימה.</translation>
    </message>
    <message>
        <source>Type a file extension and choose a folder: every file with that extension in the folder and the folders below it is added to the list.</source>
        <translation>הקלידו סיומת קובץ ובחרו תיקייה: כל קובץ עם הסיומת הזאת בתיקייה ובתיקיות שמתחתיה יתווסף לרשימה.</translation>
    </message>
    <message>
        <source>Add Local HTML File(s)</source>
        <translation>הוספת קובצי HTML מקומיים</translation>
    </message>
    <message>
        <source>Add Remote HTML URLs From Text File</source>
        <translation>כתובות HTML מקובץ טקסט</translation>
    </message>
    <message>
        <source> Add All HTML Files In Folder</source>
        <translation> הוספת כל קובצי ה־HTML בתיקייה</translation>
    </message>
    <message>
        <source>Print HTML Files</source>
        <translation>הדפסת קובצי HTML</translation>
    </message>
    <message>
        <source>HTML File(s)</source>
        <translation>קובצי HTML</translation>
    </message>
    <message>
        <source>Prints nowhere until a printer is chosen with Ctrl+P: the printer settings could not be read</source>
        <translation>לא מדפיס לשום מקום עד שתיבחר מדפסת עם Ctrl+P: לא ניתן היה לקרוא את הגדרות המדפסת</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a CSS selector, so the loading settings were left as they were.</source>
        <translation>&quot;%1&quot; אינו בורר CSS, ולכן הגדרות הטעינה נשארו כפי שהיו.</translation>
    </message>
    <message>
        <source>All documents go out as one job.</source>
        <translation>כל המסמכים יוצאים כעבודה אחת.</translation>
    </message>
    <message>
        <source>It begins with a contents page.</source>
        <translation>היא מתחילה בעמוד תוכן עניינים.</translation>
    </message>
</context>
<context>
    <name>app::Journal</name>
    <message>
        <source>the journal %1 is in use by another run</source>
        <translation>היומן %1 בשימוש של הרצה אחרת</translation>
    </message>
    <message>
        <source>the journal %1 is not a regular file</source>
        <translation>היומן %1 אינו קובץ רגיל</translation>
    </message>
    <message>
        <source>the journal %1 cannot be opened: %2</source>
        <translation>לא ניתן לפתוח את היומן %1: %2</translation>
    </message>
    <message>
        <source>the journal %1 cannot be read: %2</source>
        <translation>לא ניתן לקרוא את היומן %1: %2</translation>
    </message>
    <message>
        <source>line %1 of the journal %2 is damaged</source>
        <translation>שורה %1 ביומן %2 פגומה</translation>
    </message>
    <message>
        <source>the journal %1 was written by a newer Tavimark</source>
        <translation>היומן %1 נכתב על ידי Tavimark חדש יותר</translation>
    </message>
    <message>
        <source>the journal %1 was written for another list</source>
        <translation>היומן %1 נכתב עבור רשימה אחרת</translation>
    </message>
</context>
<context>
    <name>app::ListMenu</name>
    <message>
        <source>Remove printed entries</source>
        <translation>הסרת הרשומות שהודפסו</translation>
    </message>
    <message>
        <source>Save list as...</source>
        <translation>שמירת הרשימה בשם...</translation>
    </message>
    <message>
        <source>Copy outcomes</source>
        <translation>העתקת התוצאות</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>עצירה</translation>
    </message>
    <message>
        <source>Forget sign-ins</source>
        <translation>שכח התחברויות</translation>
    </message>
    <message>
        <source>Forgets the cookies sites set, the pages visited, and the passwords given in this window</source>
        <translation>שוכח את העוגיות שאתרים קבעו, את הדפים שבוקרו ואת הסיסמאות שניתנו בחלון זה</translation>
    </message>
    <message>
        <source>Sign in to %1...</source>
        <translation>התחברות אל %1...</translation>
    </message>
</context>
<context>
    <name>app::PrinterSettingsStore</name>
    <message>
        <source>it is not a file</source>
        <translation>אינו קובץ</translation>
    </message>
    <message>
        <source>it is not a settings file</source>
        <translation>אינו קובץ הגדרות</translation>
    </message>
    <message>
        <source>a line of it is damaged</source>
        <translation>שורה בו פגומה</translation>
    </message>
    <message>
        <source>it could not be written</source>
        <translation>לא ניתן היה לכתוב אותו</translation>
    </message>
    <message>
        <source>The printer settings in &quot;%1&quot; could not be read (%2), so nothing was printed; choose the printer again with Ctrl+P.</source>
        <translation>לא ניתן היה לקרוא את הגדרות המדפסת ב־&quot;%1&quot; (%2), ולכן דבר לא הודפס; בחרו שוב את המדפסת עם Ctrl+P.</translation>
    </message>
    <message>
        <source>The printer settings could not be kept for the next start (&quot;%1&quot;: %2), so they hold only until %3 closes.</source>
        <translation>לא ניתן היה לשמור את הגדרות המדפסת להפעלה הבאה (&quot;%1&quot;: %2), ולכן הן תקפות רק עד ש־%3 ייסגר.</translation>
    </message>
    <message>
        <source>The loading settings could not be kept for the next start (&quot;%1&quot;: %2), so they hold only until %3 closes.</source>
        <translation>לא ניתן היה לשמור את הגדרות הטעינה להפעלה הבאה (&quot;%1&quot;: %2), ולכן הן תקפות רק עד ש-%3 ייסגר.</translation>
    </message>
</context>
<context>
    <name>core</name>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>... ועוד %n.</numerusform>
            <numerusform>... ועוד %n.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 entry</source>
        <translation>רשומה אחת</translation>
    </message>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n רשומות</numerusform>
            <numerusform>%n רשומות</numerusform>
        </translation>
    </message>
    <message>
        <source>The print system did not answer, so nothing was printed.</source>
        <translation>מערכת ההדפסה לא ענתה, ולכן דבר לא הודפס.</translation>
    </message>
    <message>
        <source>No default printer is set up, so nothing was printed.</source>
        <translation>לא הוגדרה מדפסת ברירת מחדל, ולכן דבר לא הודפס.</translation>
    </message>
    <message>
        <source>Choose a default printer and print again.</source>
        <translation>בחרו מדפסת ברירת מחדל והדפיסו שוב.</translation>
    </message>
</context>
<context>
    <name>core::PrinterSettings</name>
    <message>
        <source>-o copies wants a whole number from 1 to %1</source>
        <translation>‏‎-o copies דורש מספר שלם מ־1 עד %1</translation>
    </message>
    <message>
        <source>-o number-up wants a whole number of pages a sheet, such as 2</source>
        <translation>‏‎-o number-up דורש מספר שלם של עמודים לגיליון, למשל 2</translation>
    </message>
    <message>
        <source>-o media=%1 names no paper size; use a name such as A4, Letter or iso_a4_210x297mm</source>
        <translation>‏‎-o media=%1 אינו מציין גודל נייר; השתמשו בשם כמו A4,‏ Letter או iso_a4_210x297mm</translation>
    </message>
    <message>
        <source>-o orientation-requested=%1 is no orientation Tavimark lays pages out in: use 3 (portrait) or 4 (landscape)</source>
        <translation>‏‎-o orientation-requested=%1 אינו כיוון ש־Tavimark פורס בו דפים: השתמשו ב־3 (לאורך) או 4 (לרוחב)</translation>
    </message>
    <message>
        <source>two-sided</source>
        <translation>דו־צדדי</translation>
    </message>
    <message>
        <source>two-sided, short edge</source>
        <translation>דו־צדדי, צד קצר</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>לרוחב</translation>
    </message>
    <message>
        <source>portrait</source>
        <translation>לאורך</translation>
    </message>
    <message>
        <source>colour</source>
        <translation>צבע</translation>
    </message>
    <message>
        <source>pages %1</source>
        <translation>עמודים %1</translation>
    </message>
    <message>
        <source>%1 pages a sheet</source>
        <translation>%1 עמודים לגיליון</translation>
    </message>
    <message>
        <source>-o wants NAME=VALUE, such as sides=two-sided-long-edge, not &quot;%1&quot;</source>
        <translation>‏‎-o דורש NAME=VALUE, כמו sides=two-sided-long-edge, לא &quot;%1&quot;</translation>
    </message>
    <message>
        <source>-o %1 has a value no printer takes</source>
        <translation>‏‎-o %1 מקבל ערך שאף מדפסת אינה מקבלת</translation>
    </message>
    <message>
        <source>the default printer</source>
        <translation>מדפסת ברירת המחדל</translation>
    </message>
    <message numerus="yes">
        <source>%n copies</source>
        <translation>
            <numerusform>%n עותקים</numerusform>
            <numerusform>%n עותקים</numerusform>
        </translation>
    </message>
    <message>
        <source>Prints on %1</source>
        <translation>מדפיס ב־%1</translation>
    </message>
    <message>
        <source>Prints on %1: %2</source>
        <translation>מדפיס ב־%1: %2</translation>
    </message>
</context>
<context>
    <name>joblist::Marks</name>
    <message>
        <source>Printing</source>
        <translation>בהדפסה</translation>
    </message>
    <message>
        <source>Printed</source>
        <translation>הודפס</translation>
    </message>
    <message>
        <source>Printed before it finished loading</source>
        <translation>הודפס לפני שסיים להיטען</translation>
    </message>
    <message>
        <source>Printed before it finished loading: %1</source>
        <translation>הודפס לפני שסיים להיטען: %1</translation>
    </message>
    <message>
        <source>Not printed</source>
        <translation>לא הודפס</translation>
    </message>
    <message>
        <source>Not printed: %1</source>
        <translation>לא הודפס: %1</translation>
    </message>
    <message>
        <source>May have printed</source>
        <translation>ייתכן שהודפס</translation>
    </message>
    <message>
        <source>May have printed: %1</source>
        <translation>ייתכן שהודפס: %1</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>נשלח</translation>
    </message>
    <message>
        <source>Held</source>
        <translation>מוחזק</translation>
    </message>
    <message>
        <source>Held: %1</source>
        <translation>מוחזק: %1</translation>
    </message>
    <message>
        <source>The printer aborted it</source>
        <translation>המדפסת ביטלה אותו</translation>
    </message>
    <message>
        <source>The printer aborted it: %1</source>
        <translation>המדפסת ביטלה אותו: %1</translation>
    </message>
    <message>
        <source>Sent; the printer&apos;s answer is unknown</source>
        <translation>נשלח; תשובת המדפסת אינה ידועה</translation>
    </message>
</context>
<context>
    <name>platform::LoadingDialog</name>
    <message>
        <source>Loading Settings</source>
        <translation>הגדרות טעינה</translation>
    </message>
    <message>
        <source>A document is printed once it has loaded and settled. It can also wait for an element, and a while longer; never past its time bound.</source>
        <translation>מסמך מודפס ברגע שנטען ונרגע. הוא יכול גם להמתין לרכיב, ועוד זמן מה; לעולם לא מעבר למגבלת הזמן שלו.</translation>
    </message>
    <message>
        <source>a CSS selector, such as #report-done</source>
        <translation>בורר CSS, כגון ‎#report-done</translation>
    </message>
    <message>
        <source>Wait for the &amp;element:</source>
        <translation>להמתין ל&amp;רכיב:</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> מ&quot;ש</translation>
    </message>
    <message>
        <source>Then &amp;wait:</source>
        <translation>ואז לה&amp;מתין:</translation>
    </message>
    <message>
        <source>Print the whole run as one &amp;job</source>
        <translation>להדפיס את כל ההרצה כ&amp;עבודה אחת</translation>
    </message>
    <message>
        <source>Every document goes out in one job, in list order, once the last one is ready; printed on both sides, each starts on a new sheet.</source>
        <translation>כל המסמכים יוצאים בעבודה אחת, לפי סדר הרשימה, כשהאחרון מוכן; בהדפסה דו-צדדית כל אחד מתחיל בגיליון חדש.</translation>
    </message>
    <message>
        <source>Begin it with a &amp;contents page</source>
        <translation>להתחיל בעמוד &amp;תוכן עניינים</translation>
    </message>
</context>
<context>
    <name>platform::PrinterDialog</name>
    <message>
        <source>The default printer</source>
        <translation>מדפסת ברירת המחדל</translation>
    </message>
    <message>
        <source>Printer Settings</source>
        <translation>הגדרות מדפסת</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>אישור</translation>
    </message>
    <message>
        <source>tavimark: Qt&apos;s print dialog has no %1; the printer settings are edited without them</source>
        <translation>tavimark: בחלון ההדפסה של Qt אין %1; הגדרות המדפסת נערכות בלעדיהם</translation>
    </message>
</context>
<context>
    <name>platform::Printers</name>
    <message>
        <source>The print system cannot be reached, so nothing was printed.</source>
        <translation>אין גישה למערכת ההדפסה, ולכן דבר לא הודפס.</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>ועוד %n</numerusform>
            <numerusform>ועוד %n</numerusform>
        </translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; is not accepting jobs, so nothing was printed.</source>
        <translation>המדפסת &quot;%1&quot; אינה מקבלת עבודות, ולכן דבר לא הודפס.</translation>
    </message>
    <message>
        <source>There is no printer called &quot;%1&quot;, so nothing was printed.</source>
        <translation>אין מדפסת בשם &quot;%1&quot;, ולכן דבר לא הודפס.</translation>
    </message>
    <message>
        <source>The printer %1 offers no option %2 (it offers %3), so nothing was printed.</source>
        <translation>המדפסת %1 אינה מציעה את האפשרות %2 (היא מציעה %3), ולכן דבר לא הודפס.</translation>
    </message>
    <message>
        <source>The printer %1 does not offer %2 (it offers %3), so nothing was printed.</source>
        <translation>המדפסת %1 אינה מציעה %2 (היא מציעה %3), ולכן דבר לא הודפס.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; is a file, not a folder, so nothing was written.</source>
        <translation>התיקייה &quot;%1&quot; היא קובץ, לא תיקייה, ולכן דבר לא נכתב.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be made, so nothing was written.</source>
        <translation>לא ניתן ליצור את התיקייה &quot;%1&quot;, ולכן דבר לא נכתב.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be written to, so nothing was written.</source>
        <translation>לא ניתן לכתוב לתיקייה &quot;%1&quot;, ולכן דבר לא נכתב.</translation>
    </message>
    <message>
        <source>PDF files are written, not printed on &quot;%1&quot;, so nothing was written.</source>
        <translation>קובצי PDF נכתבים, לא מודפסים ב־&quot;%1&quot;, ולכן דבר לא נכתב.</translation>
    </message>
    <message>
        <source>A PDF file is written once, not in copies, so nothing was written.</source>
        <translation>קובץ PDF נכתב פעם אחת, לא בעותקים, ולכן דבר לא נכתב.</translation>
    </message>
    <message>
        <source>A PDF file has no option %1 (it has media, orientation-requested and page-ranges), so nothing was written.</source>
        <translation>לקובץ PDF אין אפשרות %1 (יש לו media,‏ orientation-requested ו־page-ranges), ולכן דבר לא נכתב.</translation>
    </message>
    <message>
        <source>Only the default printer with its own options can be used here, so nothing was printed.</source>
        <translation>כאן אפשר להשתמש רק במדפסת ברירת המחדל עם האפשרויות שלה, ולכן דבר לא הודפס.</translation>
    </message>
</context>
<context>
    <name>printing::Contents</name>
    <message>
        <source>Contents</source>
        <translation>תוכן עניינים</translation>
    </message>
    <message>
        <source>no temporary folder could be made for it</source>
        <translation>לא ניתן היה ליצור עבורו תיקייה זמנית</translation>
    </message>
    <message>
        <source>it could not be written</source>
        <translation>לא ניתן היה לכתוב אותו</translation>
    </message>
    <message>
        <source>the engine could not make it</source>
        <translation>מנוע הדפדפן לא הצליח ליצור אותו</translation>
    </message>
    <message>
        <source>it could not be added</source>
        <translation>לא ניתן היה להוסיף אותו</translation>
    </message>
    <message>
        <source>its length would not settle</source>
        <translation>אורכו לא התייצב</translation>
    </message>
</context>
<context>
    <name>printing::RunReport</name>
    <message>
        <source>Done. Print jobs sent to printer.</source>
        <translation>הסתיים. עבודות ההדפסה נשלחו למדפסת.</translation>
    </message>
    <message>
        <source>Print jobs sent to printer.</source>
        <translation>עבודות ההדפסה נשלחו למדפסת.</translation>
    </message>
    <message>
        <source>1 entry was printed before it finished loading:</source>
        <translation>רשומה אחת הודפסה לפני שסיימה להיטען:</translation>
    </message>
    <message numerus="yes">
        <source>%n entries were printed before they finished loading:</source>
        <translation>
            <numerusform>%n רשומות הודפסו לפני שסיימו להיטען:</numerusform>
            <numerusform>%n רשומות הודפסו לפני שסיימו להיטען:</numerusform>
        </translation>
    </message>
    <message>
        <source>This entry may have printed; check the printer before printing it again:</source>
        <translation>ייתכן שהרשומה הזאת הודפסה; בדקו את המדפסת לפני שתדפיסו אותה שוב:</translation>
    </message>
    <message numerus="yes">
        <source>These %n entries may have printed; check the printer before printing them again:</source>
        <translation>
            <numerusform>ייתכן ש־%n הרשומות האלה הודפסו; בדקו את המדפסת לפני שתדפיסו אותן שוב:</numerusform>
            <numerusform>ייתכן ש־%n הרשומות האלה הודפסו; בדקו את המדפסת לפני שתדפיסו אותן שוב:</numerusform>
        </translation>
    </message>
    <message>
        <source>Print jobs sent to printer, except for 1 entry that could not be printed:</source>
        <translation>עבודות ההדפסה נשלחו למדפסת, מלבד רשומה אחת שלא ניתן היה להדפיס:</translation>
    </message>
    <message numerus="yes">
        <source>Print jobs sent to printer, except for %n entries that could not be printed:</source>
        <translation>
            <numerusform>עבודות ההדפסה נשלחו למדפסת, מלבד %n רשומות שלא ניתן היה להדפיס:</numerusform>
            <numerusform>עבודות ההדפסה נשלחו למדפסת, מלבד %n רשומות שלא ניתן היה להדפיס:</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped. 1 entry was not printed</source>
        <translation>נעצר. רשומה אחת לא הודפסה</translation>
    </message>
    <message numerus="yes">
        <source>Stopped. %n entries were not printed</source>
        <translation>
            <numerusform>נעצר. %n רשומות לא הודפסו</numerusform>
            <numerusform>נעצר. %n רשומות לא הודפסו</numerusform>
        </translation>
    </message>
    <message>
        <source>The printer stopped taking jobs (%1), so printing was stopped.</source>
        <translation>המדפסת הפסיקה לקבל עבודות (%1), ולכן ההדפסה נעצרה.</translation>
    </message>
    <message>
        <source>Sent to printer: %1</source>
        <translation>נשלחו למדפסת: %1</translation>
    </message>
    <message>
        <source>Not sent: %1</source>
        <translation>לא נשלחו: %1</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>לא נוספו קבצים.</translation>
    </message>
    <message>
        <source>The browser engine failed, so printing was stopped.</source>
        <translation>מנוע הדפדפן נכשל, ולכן ההדפסה נעצרה.</translation>
    </message>
    <message>
        <source>Sent to printer:</source>
        <translation>נשלחו למדפסת:</translation>
    </message>
    <message>
        <source>May have printed:</source>
        <translation>ייתכן שהודפסו:</translation>
    </message>
    <message>
        <source>Not sent:</source>
        <translation>לא נשלחו:</translation>
    </message>
    <message>
        <source>Not printed:</source>
        <translation>לא הודפסו:</translation>
    </message>
    <message>
        <source>Printed before they finished loading:</source>
        <translation>הודפסו לפני שסיימו להיטען:</translation>
    </message>
</context>
<context>
    <name>sources</name>
    <message>
        <source>These folders could not be read; their files were not added:</source>
        <translation>לא ניתן היה לקרוא את התיקיות האלה; הקבצים שבהן לא נוספו:</translation>
    </message>
    <message>
        <source>Enter file extension to load:</source>
        <translation>הקלידו סיומת קובץ לטעינה:</translation>
    </message>
    <message>
        <source>Please select folder to add:</source>
        <translation>בחרו תיקייה להוספה:</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>הוספת קבצים - החזיקו Ctrl כדי לבחור כמה קבצים</translation>
    </message>
    <message>
        <source>HTML Files (*.htm *.html)</source>
        <translation>קובצי HTML ‏(*.htm *.html)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>כל הקבצים (*)</translation>
    </message>
    <message>
        <source>These list files could not be read; nothing was added from them:</source>
        <translation>לא ניתן היה לקרוא את קובצי הרשימה האלה; דבר מהם לא נוסף:</translation>
    </message>
    <message>
        <source>These addresses in the list files were not added:</source>
        <translation>הכתובות האלה שבקובצי הרשימה לא נוספו:</translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation>טעינת רשימות - החזיקו Ctrl כדי לבחור כמה קובצי רשימה</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>לא נמצא</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>אינו קובץ</translation>
    </message>
    <message>
        <source>too large for a list file</source>
        <translation>גדול מדי לקובץ רשימה</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>לא ניתן לקרוא: %1</translation>
    </message>
    <message>
        <source>not a text file</source>
        <translation>אינו קובץ טקסט</translation>
    </message>
    <message>
        <source>These entries were left out of the list file, which cannot hold them so that they read back as they are:</source>
        <translation>הרשומות האלה הושמטו מקובץ הרשימה, שאינו יכול להכיל אותן כך שייקראו בחזרה כפי שהן:</translation>
    </message>
    <message>
        <source>The list could not be saved:</source>
        <translation>לא ניתן היה לשמור את הרשימה:</translation>
    </message>
    <message>
        <source>Save List As</source>
        <translation>שמירת הרשימה בשם</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>קובצי טקסט (*.txt)</translation>
    </message>
</context>
</TS>
