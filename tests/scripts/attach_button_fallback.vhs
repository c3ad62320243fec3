# A compose window whose toolbar cannot be read still gets its Attach toggle, at the end of the
# bar, after the lookup's own message; the toggle then works as usual.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
connect
# The mail waits in the Outbox, so its rows keep the substitute key.
delivery on-deliver
fail CommandBarControl.Id toolbar unreadable
compose m1 Subject=Offer To=ann@example.com
fail clear
expect message am3>toolbar unreadable
button VelmoraAttach m1
send m1
expect dialog AttachSentMailToContact
click cmdMoveFields2
click cmdMailtoContact1
expect no-message
expect sql select count(*) from noteTb where outlookattachid like 'OutlookID%' => 1
