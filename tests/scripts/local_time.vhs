# environment: TZ=Asia/Shanghai
# engines: sqlite (the expectations compute the local time with SQLite's date functions)
# "Now" is local time in the zone TZ names: a mail sent with Attach pressed is keyed by the local
# time of its creation, and an unsent mail's history row carries the current local time.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
connect
# The mail waits in the Outbox, so its rows keep the substitute key.
delivery on-deliver
compose m1 Subject=Offer To=ann@example.com
button VelmoraAttach m1
send m1
expect dialog AttachSentMailToContact
# The quick appointment's time list takes the 24-hour form of the C locale's time text.
expect dialog 23:30
click cmdMoveFields2
click cmdMailtoContact1
expect no-message
close
new mail d1 in=Inbox Subject=Draft To=ann@example.com
folder Inbox
select d1
button VelmoraShareAndAttach
expect dialog AttachSentMailToContact
click cmdMoveFields2
click cmdMailtoContact1
expect no-message
close
# The rows are checked against this minute and two minutes ago, so an hour turning mid-script is
# no failure.
expect sql with w(t) as (values (datetime('now', 'localtime')), (datetime('now', 'localtime', '-2 minutes'))) select count(distinct h.entryid) from EMailHistory h, w where h.subject = 'Draft' and h.date_time like cast(strftime('%Y', w.t) as integer) || '-' || cast(strftime('%m', w.t) as integer) || '-' || cast(strftime('%d', w.t) as integer) || ' ' || cast(strftime('%H', w.t) as integer) || ':%' => 1
expect sql with w(t) as (values (datetime('now', 'localtime')), (datetime('now', 'localtime', '-2 minutes'))) select count(distinct n.outlookattachid) from noteTb n, w where n.outlookattachid like 'OutlookID' || cast(strftime('%Y', w.t) as integer) || cast(strftime('%m', w.t) as integer) || cast(strftime('%d', w.t) as integer) || cast(strftime('%H', w.t) as integer) || '%' => 1
