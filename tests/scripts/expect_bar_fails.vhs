# "expect bar" fails when the bar holds no such control: the explorer's toolbar has no Attach.
store init
user alice
registry set Language EN
connect
expect bar Standard tag="VelmoraAttach"
