# "expect box" fails on a box whose icon differs, even when its text is the one expected.
store init
user alice
registry set Language EN
connect
folder Inbox
select
button VelmoraShareAndAttach
expect box exclamation ok *
